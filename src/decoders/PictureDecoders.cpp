#include "decoders/PictureDecoders.h"

#include "decoders/ResourceAccess.h"
#include "imaging/ImageLoader.h"
#include "imaging/PictureFile.h"
#include "imaging/RasterPicture.h"
#include "resources/IdentifierStrings.h"
#include "resources/TypeMatch.h"
#include "system/ErrorReport.h"

namespace {
constexpr std::uint16_t kCursor = 1, kBitmap = 2, kIcon = 3, kGroupCursor = 12, kGroupIcon = 14;

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

MadePicture DecodeResourcePicture(const ModuleCatalogue &module, const ResourceEntry &entry,
                                  const SystemColours &colours) {
    const ResourceId &type = entry.type;
    if (IsTypeOf(type, {kCursor, kIcon})) {
        // Single images are built from their bytes; no bytes at all is an error of its own.
        const auto bytes = GetResourceBytes(module, entry);
        if (!bytes) ErrorReport::outOfRange();
        const bool cursor = IsTypeOf(type, {kCursor});
        return IconOf([&] { return DecodeIconResource(*bytes, cursor); });
    }
    if (IsTypeOf(type, {kBitmap})) {
        const auto bytes = module.Bytes(entry);
        if (!bytes) return ErrorReport::missingResource();
        return MadeBy([&] { return BitmapPicture(LoadBitmapResource(*bytes, colours)); });
    }
    if (IsTypeOf(type, {kGroupCursor, kGroupIcon})) {
        const auto group = module.Bytes(entry);
        if (!group) return ErrorReport::missingResource();
        const bool cursor = IsTypeOf(type, {kGroupCursor});
        // The group names its images by integer identifier among the cursors or icons.
        const ResourceId imageType = ResourceId::fromNumber(cursor ? kCursor : kIcon);
        ResourceBytes image; // the chosen image's bytes, kept while the group decodes them
        const IconImageLookup lookup = [&](std::uint16_t id) -> std::optional<std::span<const std::byte>> {
            auto bytes = module.Bytes({imageType, ResourceId::fromNumber(id)});
            if (!bytes) return std::nullopt;
            image = std::move(*bytes);
            return std::span<const std::byte>(image);
        };
        return IconOf([&] { return LoadIconGroup(*group, cursor, lookup); });
    }
    return NotAPictureType(entry);
}

std::shared_ptr<Picture> DecodePictureFile(const ModuleCatalogue &module, const ResourceEntry &entry) {
    const auto bytes = GetResourceBytes(module, entry);
    if (!bytes) ErrorReport::outOfRange();
    return LoadPictureFromData(*bytes);
}
