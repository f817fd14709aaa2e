#include "decoders/PictureDecoders.h"

#include "decoders/ResourceAccess.h"
#include "imaging/ImageLoader.h"
#include "imaging/PictureFile.h"
#include "imaging/RasterPicture.h"
#include "resources/Playback.h"
#include "system/ErrorReport.h"

#include <QFile>

namespace {
// The platform's loaders give a null handle for data they cannot read, without an error.
template <typename F> auto OrNothing(F &&load) -> std::optional<decltype(load())> {
    try {
        return load();
    } catch (const ErrorReport &) {
        return std::nullopt;
    }
}
} // namespace

std::shared_ptr<Picture> BitmapPicture(QImage bitmap) {
    return std::make_shared<RasterPicture>(std::move(bitmap), Picture::Bitmap);
}

std::shared_ptr<Picture> IconPicture(std::optional<IconImage> icon) {
    if (!icon) return nullptr;
    return std::make_shared<RasterPicture>(std::move(*icon));
}

std::shared_ptr<Picture> ResourcePicture(const QString &type, const QString &name) {
    if (type == QLatin1String("1") || type == QLatin1String("3")) {
        // Single images are built from their bytes; no bytes at all is an error of its own.
        const auto bytes = GetResourceBytes(type, name);
        if (!bytes) ErrorReport::outOfRange();
        const bool cursor = type == QLatin1String("1");
        return IconPicture(OrNothing([&] { return DecodeIconResource(*bytes, cursor); }));
    }
    if (type == QLatin1String("2")) {
        const auto data = FindResourceData(type, name);
        if (!data) return nullptr;
        const auto bitmap = OrNothing([&] { return LoadBitmapResource(*data); });
        return bitmap ? BitmapPicture(*bitmap) : nullptr;
    }
    if (type == QLatin1String("12") || type == QLatin1String("14")) {
        const auto group = FindResourceData(type, name);
        if (!group) return nullptr;
        const bool cursor = type == QLatin1String("12");
        // The group names its images by integer identifier among the cursors (1) or icons (3).
        const QString imageType = cursor ? QStringLiteral("1") : QStringLiteral("3");
        const IconImageLookup lookup = [&](std::uint16_t id) {
            return FindResourceData(imageType, QStringLiteral("#%1").arg(id));
        };
        return IconPicture(OrNothing([&] { return LoadIconGroup(*group, cursor, lookup); }));
    }
    return nullptr;
}

std::shared_ptr<Picture> TempFilePicture(const QString &type, const QString &name) {
    StopPlayback();
    const auto bytes = GetResourceBytes(type, name);
    if (!bytes) ErrorReport::outOfRange();
    WriteTempFile(*bytes);
    // A refused file raises here and stays until the next StopPlayback.
    std::shared_ptr<Picture> picture = LoadPictureFile(TempFilePath());
    QFile::remove(TempFilePath());
    return picture;
}
