#include "views/media/MediaViews.h"

#include "decoders/ResourceAccess.h"
#include "system/ErrorReport.h"
#include "system/Twips.h"
#include "views/display/DisplayBox.h"
#include "views/display/Viewport.h"
#include "views/media/MediaPlayer.h"
#include "views/media/VideoWindow.h"

#include <algorithm>
#include <cmath>

namespace {
// The bytes every view plays, fetched after whatever played is stopped. A missing or empty
// resource has no array: touching it is an index out of range, raised before a device opens.
QByteArray MediumBytes(MediaPlayer &player, const ModuleCatalogue &module, const ResourceEntry &entry) {
    player.Stop();
    const std::optional<ResourceBytes> bytes = GetResourceBytes(module, entry);
    if (!bytes) ErrorReport::outOfRange();
    return QByteArray(reinterpret_cast<const char *>(bytes->data()), static_cast<qsizetype>(bytes->size()));
}

// A whole number as the program rounds one: halves to even; beyond 32 bits is an overflow.
std::int64_t Whole(double value) {
    if (!std::isfinite(value) || std::fabs(value) > 2147483647.0) ErrorReport::overflow();
    return RoundHalfEven(value);
}

// Integer division of whole numbers, truncating toward zero.
std::int64_t IntDiv(std::int64_t a, std::int64_t b) {
    if (b == 0) throw ErrorReport(11, QStringLiteral("Деление на ноль"));
    return a / b;
}
} // namespace

bool ShowVideo(MediaPlayer &player, const ModuleCatalogue &module, const ResourceEntry &entry,
               DisplayBox &display, const Viewport &viewport) {
    VideoWindow *video = player.OpenVideo(MediumBytes(player, module, entry), &display);
    // A clip that did not open has no size to lay the box out by: the platform's size query
    // answers nothing, which the layout cannot read (an invalid argument).
    if (video == nullptr) ErrorReport::invalidArgument();

    const double tppX = TwipsPerPixelX(), tppY = TwipsPerPixelY();
    const std::int64_t w = Whole(video->clipSize().width() * tppX);
    const std::int64_t h = Whole(video->clipSize().height() * tppY);
    // The box never becomes smaller than the visible area and grows for a larger clip.
    const std::int64_t boxW = std::max<std::int64_t>(w, viewport.width);
    const std::int64_t boxH = std::max<std::int64_t>(h, viewport.height);
    display.Move(0, 0, TwipsToPixelsX(static_cast<double>(boxW)), TwipsToPixelsY(static_cast<double>(boxH)));

    // The clip at its own size in pixels, centred in the box.
    const double readW = PixelsToTwipsX(display.width());
    const double readH = PixelsToTwipsY(display.height());
    const std::int64_t x = IntDiv(Whole(readW - static_cast<double>(w)), Whole(2 * tppX));
    const std::int64_t y = IntDiv(Whole(readH - static_cast<double>(h)), Whole(2 * tppY));
    const std::int64_t pw = IntDiv(w, Whole(tppX));
    const std::int64_t ph = IntDiv(h, Whole(tppY));
    video->setGeometry(CheckedCast<int>(x), CheckedCast<int>(y), CheckedCast<int>(pw), CheckedCast<int>(ph));
    video->PlayRepeat();
    return true;
}

bool ShowSound(MediaPlayer &player, const ModuleCatalogue &module, const ResourceEntry &entry,
               DisplayBox &display) {
    // A sound that cannot be opened counts as 0 milliseconds.
    const std::uint32_t ms = player.PlaySound(MediumBytes(player, module, entry)).value_or(0);
    display.Print(QStringLiteral("Информация о звуке:\r\n"));
    display.Print(QStringLiteral("Время воспроизведения: ") + QString::number(ms) +
                  QStringLiteral(" миллисекунд"));
    return true;
}

bool ShowMusic(MediaPlayer &player, const ModuleCatalogue &module, const ResourceEntry &entry,
               DisplayBox &display) {
    player.PlayMusic(MediumBytes(player, module, entry));
    // The kind is this fixed text; the file is not looked into.
    display.Print(QStringLiteral("Информация о музыке:\r\n"));
    display.Print(QStringLiteral("Тип музыки: стандартный файл MIDI"));
    return true;
}
