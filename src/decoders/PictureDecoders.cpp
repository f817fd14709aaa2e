#include "decoders/PictureDecoders.h"

#include "decoders/ResourceAccess.h"
#include "imaging/ImageLoader.h"
#include "imaging/PictureFile.h"
#include "imaging/RasterPicture.h"
#include "resources/IdentifierStrings.h"
#include "resources/Module.h"
#include "resources/Playback.h"
#include "system/ErrorReport.h"

#include <QFile>

namespace {
ErrorReport NotAPictureType(const ResourceEntry &entry) {
    return ErrorReport(ErrorReport::InvalidPicture,
                       QStringLiteral("Тип ресурса %1 не содержит рисунков").arg(TypeString(entry.type)));
}

// The loaders raise what they cannot read; the platform's loaders give a null handle instead.
MadePicture IconOf(const std::function<IconImage()> &load) {
    return MadeBy([&] { return IconPicture(load()); });
}
} // namespace

std::shared_ptr<Picture> BitmapPicture(QImage bitmap) {
    return std::make_shared<RasterPicture>(std::move(bitmap), Picture::Bitmap);
}

std::shared_ptr<Picture> IconPicture(std::optional<IconImage> icon) {
    if (!icon) return nullptr;
    return std::make_shared<RasterPicture>(std::move(*icon));
}

namespace {
// `type`: the type string that picks the decoder, compared exactly ("02" is no bitmap).
MadePicture DecodePicture(const QString &type, const ModuleCatalogue &module, const ResourceEntry &entry) {
    if (type == QLatin1String("1") || type == QLatin1String("3")) {
        // Single images are built from their bytes; no bytes at all is an error of its own.
        const auto bytes = GetResourceBytes(module, entry);
        if (!bytes) ErrorReport::outOfRange();
        const bool cursor = type == QLatin1String("1");
        return IconOf([&] { return DecodeIconResource(*bytes, cursor); });
    }
    if (type == QLatin1String("2")) {
        const auto bytes = module.Bytes(entry);
        if (!bytes) return ErrorReport::missingResource();
        return MadeBy([&] { return BitmapPicture(LoadBitmapResource(*bytes)); });
    }
    if (type == QLatin1String("12") || type == QLatin1String("14")) {
        const auto group = module.Bytes(entry);
        if (!group) return ErrorReport::missingResource();
        const bool cursor = type == QLatin1String("12");
        // The group names its images by integer identifier among the cursors (1) or icons (3).
        const QString imageType = cursor ? QStringLiteral("1") : QStringLiteral("3");
        ResourceBytes image; // the chosen image's bytes, kept while the group decodes them
        const IconImageLookup lookup = [&](std::uint16_t id) -> std::optional<std::span<const std::byte>> {
            const auto found = module.Find(imageType, QStringLiteral("#%1").arg(id));
            auto bytes = found ? module.Bytes(*found) : std::nullopt;
            if (!bytes) return std::nullopt;
            image = std::move(*bytes);
            return std::span<const std::byte>(image);
        };
        return IconOf([&] { return LoadIconGroup(*group, cursor, lookup); });
    }
    return NotAPictureType(entry);
}
} // namespace

MadePicture DecodeResourcePicture(const ModuleCatalogue &module, const ResourceEntry &entry) {
    return DecodePicture(TypeString(entry.type), module, entry);
}

std::shared_ptr<Picture> ResourcePicture(const ModuleCatalogue &module, const QString &type,
                                         const QString &name) {
    return DecodePicture(type, module, module.EntryFor(type, name)).take();
}

std::shared_ptr<Picture> ResourcePicture(const QString &type, const QString &name) {
    return ResourcePicture(CurrentModule(), type, name);
}

std::shared_ptr<Picture> TempFilePicture(const ModuleCatalogue &module, const ResourceEntry &entry) {
    StopPlayback();
    const auto bytes = GetResourceBytes(module, entry);
    if (!bytes) ErrorReport::outOfRange();
    WriteTempFile(*bytes);
    // A refused file raises here and stays until the next StopPlayback.
    std::shared_ptr<Picture> picture = LoadPictureFile(TempFilePath());
    QFile::remove(TempFilePath());
    return picture;
}

std::shared_ptr<Picture> TempFilePicture(const QString &type, const QString &name) {
    return TempFilePicture(CurrentModule(), LoadedEntry(type, name));
}
