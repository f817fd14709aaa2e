#include "export/ResourceExport.h"

#include "decoders/PictureDecoders.h"
#include "decoders/ViewChoice.h"
#include "export/SavedResource.h"
#include "formats/IconGroupFile.h"
#include "imaging/PictureFile.h"
#include "resources/TypeMatch.h"

#include <QBuffer>

namespace {
const QString kRawExtension = QStringLiteral("bin");

QByteArray Png(const QImage &image) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, "PNG")) ErrorReport::invalidPicture();
    return png;
}

// The picture of a picture type, or of a custom type that holds a picture file. A picture that is
// not made always says why.
MadePicture DecodeAnyPicture(const ModuleCatalogue &module, const ResourceEntry &entry, bool pictureFile,
                             const SystemColours &colours) {
    MadePicture made = std::shared_ptr<Picture>();
    try {
        if (!pictureFile) {
            made = DecodeResourcePicture(module, entry, colours);
        } else if (const auto bytes = module.Bytes(entry); bytes && !bytes->empty()) {
            made = LoadPictureFromData(*bytes);
        } else {
            made = ErrorReport::missingResource();
        }
    } catch (const ErrorReport &failure) {
        made = failure;
    }
    if (made && !made.value())
        made = MadeBy([]() -> std::shared_ptr<Picture> { ErrorReport::invalidPicture(); });
    return made;
}

// Icon groups (14) and cursor groups (12), which --ico writes whole.
bool IsGroupType(const ResourceId &type) {
    return IsTypeOf(type, {12, 14});
}

// The group as one file of all its images; the images are those of the group's own module, by
// integer identifier among the cursors (1) or the icons (3).
QByteArray WholeGroupBytes(const ModuleCatalogue &module, const ResourceEntry &entry) {
    const bool cursor = IsTypeOf(entry.type, {12});
    const auto group = module.Bytes(entry);
    if (!group) throw ErrorReport::missingResource();
    const auto imageType = ResourceId::fromNumber(cursor ? 1 : 3);
    return IconGroupFile(*group, cursor, [&](std::uint16_t id) {
        return module.Bytes({imageType, ResourceId::fromNumber(id)});
    });
}
} // namespace

ExportedResource ExportResource(const ModuleCatalogue &module, const ResourceEntry &entry,
                                ExportChoice choice, const SystemColours &colours) {
    const QString filter = SaveFilter(entry.type);
    const SaveSource source = SaveSourceOf(entry.type);

    // The raw bytes stand in wherever the form asked for cannot be made. A resource of size 0 is an
    // empty file: its exact copy.
    auto raw = [&](QString extension, std::optional<ErrorReport> failure = std::nullopt) {
        ExportedResource out{std::nullopt, extension.isEmpty() ? kRawExtension : std::move(extension),
                             std::move(failure)};
        if (const auto bytes = module.Bytes(entry))
            out.bytes = QByteArray(reinterpret_cast<const char *>(bytes->data()),
                                   static_cast<qsizetype>(bytes->size()));
        else if (!out.failure)
            out.failure = ErrorReport::missingResource();
        return out;
    };
    // Raw bytes are what the dialog's first entry names only for types that prepare nothing.
    const QString rawExtension = source == SaveSource::Nothing ? SaveFilterExtension(filter, 1) : QString();
    if (choice == ExportChoice::Raw) return raw(rawExtension);
    if (choice == ExportChoice::Groups && IsGroupType(entry.type)) {
        auto file = MadeBy([&] { return WholeGroupBytes(module, entry); });
        if (!file) return raw(QString(), file.failure());
        return {std::move(file.value()),
                IsTypeOf(entry.type, {12}) ? QStringLiteral("cur") : QStringLiteral("ico"), std::nullopt};
    }

    const bool pictureFile = ChooseView(entry) == ResourceView::PictureFile;
    if (choice == ExportChoice::Png && (source == SaveSource::Picture || pictureFile)) {
        MadePicture picture = DecodeAnyPicture(module, entry, pictureFile, colours);
        if (!picture) return raw(QString(), picture.failure());
        auto png = MadeBy([&] { return Png(PictureWithAlpha(*picture.value())); });
        if (!png) return raw(QString(), png.failure());
        return {std::move(png.value()), QStringLiteral("png"), std::nullopt};
    }

    // What the Save command writes when the person takes the entry that matches the choice.
    Made<std::optional<SavedResource>> saved =
        MadeBy([&] { return std::optional(SavedResource::Of(module, entry, colours)); });
    if (!saved) return raw(QString(), saved.failure());
    const int index = choice == ExportChoice::Drawn && !SaveFilterExtension(filter, 2).isEmpty() ? 2 : 1;
    const SavedForm form = saved.value()->FormOf(index);
    if (form == SavedForm::RawBytes) return raw(rawExtension, saved.value()->PrepareFailure());
    auto file = MadeBy([&] { return saved.value()->FileBytes(index); });
    if (!file) return raw(QString(), file.failure());
    return {std::move(file.value()), SaveFilterExtension(filter, form == SavedForm::Text ? 1 : index),
            std::nullopt};
}
