#include "views/display/PictureView.h"

#include "imaging/Picture.h"
#include "imaging/RasterPicture.h"
#include "system/ErrorReport.h"
#include "system/Twips.h"
#include "views/display/DisplayBox.h"
#include "views/display/Viewport.h"

#include <QPainter>
#include <algorithm>

QString PictureTypeName(int type) {
    switch (type) {
    case Picture::None:
        return QStringLiteral("Неизвестный");
    case Picture::Bitmap:
        return QStringLiteral("Точечный рисунок или рисунок в аналогичном формате");
    case Picture::Metafile:
        return QStringLiteral("Метафайл");
    case Picture::Icon:
        return QStringLiteral("Иконка или курсор");
    case Picture::EnhMetafile:
        return QStringLiteral("Метафайл");
    default:
        return QString();
    }
}

namespace {
// A bitmap is laid over the box as it is, so the box shares its pixels instead of copying them;
// anything else (a metafile's records, an icon's masks) is played over what the box shows there.
void DrawPicture(const Picture &picture, QPoint at, DisplayBox &display) {
    const auto *raster = dynamic_cast<const RasterPicture *>(&picture);
    if (raster != nullptr && raster->released()) return;
    if (raster != nullptr && picture.Type() == Picture::Bitmap) {
        display.DrawImage(at, raster->image());
        return;
    }
    const QSize size = raster != nullptr ? raster->image().size()
                                         : QSize(HimetricToPixels(picture.Width(), true),
                                                 HimetricToPixels(picture.Height(), false));
    display.Draw(QRect(at, size), [&](QPainter &p) { picture.Render(p, at); });
}
} // namespace

bool ShowPicture(const std::shared_ptr<Picture> &picture, DisplayBox &display, const Viewport &viewport) {
    if (!picture) return false;
    // The printed size is a 16-bit value: a picture beyond 32,767 pixels is an overflow, raised
    // before anything on the display changes.
    const auto widthPx = CheckedCast<std::int16_t>(HimetricToPixels(picture->Width(), true));
    const auto heightPx = CheckedCast<std::int16_t>(HimetricToPixels(picture->Height(), false));

    const std::int64_t pw = RoundHalfEven(HimetricToTwips(picture->Width()));
    const std::int64_t ph = RoundHalfEven(HimetricToTwips(picture->Height()));
    const std::int64_t bw = std::max<std::int64_t>(pw, viewport.width);
    const std::int64_t bh = std::max<std::int64_t>(ph, viewport.height);
    display.Move(0, 0, TwipsToPixelsX(static_cast<double>(bw)), TwipsToPixelsY(static_cast<double>(bh)));

    const std::int64_t boxW = RoundHalfEven(PixelsToTwipsX(display.width()));
    const std::int64_t boxH = RoundHalfEven(PixelsToTwipsY(display.height()));
    const std::int64_t x = boxW / 2 - pw / 2;
    const std::int64_t y = boxH / 2 - ph / 2;
    const QPoint at(TwipsToPixelsX(static_cast<double>(x)), TwipsToPixelsY(static_cast<double>(y)));
    DrawPicture(*picture, at, display);

    display.SetPrintPosition(QPoint(0, 0));
    display.Print(QStringLiteral("Информация о рисунке:\r\n"));
    display.Print(QStringLiteral("Тип: ") + PictureTypeName(picture->Type()));
    display.Print(QStringLiteral("Размер: %1 x %2").arg(widthPx).arg(heightPx));
    // The box keeps what was drawn, so the picture's own bitmap or icon can go now.
    picture->Release();
    return true;
}
