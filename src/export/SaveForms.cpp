#include "export/SaveForms.h"

#include "decoders/ResourceAccess.h"
#include "resources/TypeMatch.h"
#include "system/AnsiCodePage.h"
#include "system/ErrorReport.h"

#include <QPainter>

QString SaveFilter(const ResourceId &type) {
    if (IsTypeOf(type, {1, 12})) return QStringLiteral("Файл курсора|*.cur|Точечный рисунок|*.bmp");
    if (IsTypeOf(type, {2})) return QStringLiteral("Точечный рисунок|*.bmp");
    if (IsTypeOf(type, {3, 14})) return QStringLiteral("Файл иконки|*.ico|Точечный рисунок|*.bmp");
    if (IsTypeOf(type, {4, 9, 11, 16})) return QStringLiteral("Текстовый файл|*.txt|Файл с данными|*.*");
    if (IsTypeOf(type, {6})) return QStringLiteral("Текстовый файл|*.txt");
    if (IsTypeOf(type, {23})) return QStringLiteral("Веб-страница|*.html|Файл с данными|*.*");
    // Named after the type as the file stores it: a type "gif" gives "GIF файл|*.gif".
    if (IsTypeOf(type, {}, {"AVI", "JPG", "JPEG", "GIF", "WMF", "EMF"}))
        return type.name.toUpper() + QStringLiteral(" файл|*.") + type.name.toLower();
    if (IsTypeOf(type, {}, {"WAVE"})) return QStringLiteral("Звук Windows Audio|*.wav");
    if (IsTypeOf(type, {}, {"MIDI"})) return QStringLiteral("MIDI файл|*.mid");
    return QStringLiteral("Файл с данными|*.*");
}

QString SaveFilterExtension(const QString &filter, int index) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    const qsizetype at = 2 * static_cast<qsizetype>(index) - 1;
    if (index < 1 || at >= parts.size()) return QString();
    const QString &pattern = parts[at];
    if (!pattern.startsWith(QLatin1String("*.")) || pattern == QLatin1String("*.*")) return QString();
    return pattern.mid(2);
}

SaveSource SaveSourceOf(const ResourceId &type) {
    if (IsTypeOf(type, {1, 12, 2, 3, 14})) return SaveSource::Picture;
    if (IsTypeOf(type, {4, 9, 11, 16, 6})) return SaveSource::Text;
    return SaveSource::Nothing;
}

SavedForm SavedFormOf(bool havePicture, bool haveText, int filterIndex) {
    if (havePicture) return filterIndex == 1 ? SavedForm::PictureFile : SavedForm::DrawnBitmap;
    if (filterIndex == 1 && haveText) return SavedForm::Text;
    return SavedForm::RawBytes;
}

QByteArray PictureFileBytes(const Picture &picture) {
    auto file = picture.FileBytes();
    if (!file) ErrorReport::invalidPicture();
    return std::move(*file);
}

QByteArray TextFileBytes(const QString &text) {
    return UnicodeToAnsi(text);
}

QByteArray RawFileBytes(const ModuleCatalogue &module, const ResourceEntry &entry) {
    const auto bytes = GetResourceBytes(module, entry);
    if (!bytes) ErrorReport::outOfRange(); // nothing to write: an empty array
    return QByteArray(reinterpret_cast<const char *>(bytes->data()), static_cast<qsizetype>(bytes->size()));
}

QSize PicturePixelSize(const Picture &picture) {
    return QSize(CheckedCast<std::int16_t>(HimetricToPixels(picture.Width(), true)),
                 CheckedCast<std::int16_t>(HimetricToPixels(picture.Height(), false)));
}

namespace {
// A metafile's frame is only a claim of its header: an image past this many pixels (a gigabyte at
// four bytes each) is not drawn.
constexpr qint64 kMostPixels = qint64{1} << 28;

QImage Drawn(const Picture &picture, QImage::Format format, const QColor &background) {
    const QSize size = PicturePixelSize(picture).expandedTo(QSize(0, 0));
    if (qint64{size.width()} * size.height() > kMostPixels) ErrorReport::outOfMemory();
    QImage image(size, format);
    image.fill(background);
    if (!image.isNull()) {
        QPainter painter(&image);
        picture.Render(painter, QPoint(0, 0));
    }
    return image;
}
} // namespace

QImage DrawnPicture(const Picture &picture, const QColor &background) {
    return Drawn(picture, QImage::Format_RGB32, background);
}

QImage PictureWithAlpha(const Picture &picture) {
    return Drawn(picture, QImage::Format_ARGB32_Premultiplied, Qt::transparent);
}
