#include "export/ResourceExport.h"

#include "decoders/PictureDecoders.h"
#include "decoders/ViewChoice.h"
#include "export/SaveForms.h"
#include "formats/IconGroupFile.h"
#include "imaging/PictureFile.h"
#include "imaging/PictureFiles.h"
#include "resources/IdentifierStrings.h"

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

// The picture of a picture type, or of a custom type that holds a picture file (loaded by the same
// loader the window reads its temporary file with). A picture that is not made always says why.
MadePicture DecodeAnyPicture(const ModuleCatalogue &module, const ResourceEntry &entry, bool pictureFile) {
    MadePicture made = std::shared_ptr<Picture>();
    try {
        if (!pictureFile) {
            made = DecodeResourcePicture(module, entry);
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
    return type.number == 12 || type.number == 14;
}

// The group as one file of all its images; the images are those of the group's own module, by
// integer identifier among the cursors (1) or the icons (3).
QByteArray WholeGroupBytes(const ModuleCatalogue &module, const ResourceEntry &entry) {
    const bool cursor = entry.type.number == 12;
    const auto group = module.Bytes(entry);
    if (!group) throw ErrorReport::missingResource();
    const auto imageType = ResourceId::fromNumber(cursor ? 1 : 3);
    return IconGroupFile(*group, cursor, [&](std::uint16_t id) {
        return module.Bytes({imageType, ResourceId::fromNumber(id)});
    });
}
} // namespace

ExportedResource ExportResource(const ModuleCatalogue &module, const ResourceEntry &entry,
                                ExportChoice choice, const QColor &background) {
    const QString type = TypeString(entry.type);
    const QString name = NameString(entry.name);
    const QString filter = SaveFilter(type);
    const SaveSource source = SaveSourceOf(type);

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
        return {std::move(file.value()), entry.type.number == 12 ? QStringLiteral("cur") : QStringLiteral("ico"),
                std::nullopt};
    }

    const ResourceView view = ChooseView(type, name);
    const bool pictureFile = view == ResourceView::PictureFile;
    if (choice == ExportChoice::Png && (source == SaveSource::Picture || pictureFile)) {
        MadePicture picture = DecodeAnyPicture(module, entry, pictureFile);
        if (!picture) return raw(QString(), picture.failure());
        auto png = MadeBy([&] { return Png(PictureWithAlpha(*picture.value())); });
        if (!png) return raw(QString(), png.failure());
        return {std::move(png.value()), QStringLiteral("png"), std::nullopt};
    }

    if (source == SaveSource::Picture) {
        MadePicture picture = DecodeAnyPicture(module, entry, false);
        if (!picture) return raw(QString(), picture.failure());
        const int index = choice == ExportChoice::Drawn && !SaveFilterExtension(filter, 2).isEmpty() ? 2 : 1;
        auto file = MadeBy([&] {
            return SavedFormOf(true, false, index) == SavedForm::PictureFile
                       ? PictureFileBytes(*picture.value())
                       : BmpFileBytes(DrawnPicture(*picture.value(), background));
        });
        if (!file) return raw(QString(), file.failure());
        return {std::move(file.value()), SaveFilterExtension(filter, index), std::nullopt};
    }

    if (source == SaveSource::Text) {
        auto text = MadeBy([&] { return ViewText(view, module, entry); });
        // A rendering that fails leaves the pane empty; an empty one has nothing to write as text.
        if (!text) return raw(QString(), text.failure());
        if (SavedFormOf(false, !text.value().isEmpty(), 1) == SavedForm::RawBytes) return raw(QString());
        return {TextFileBytes(text.value()), SaveFilterExtension(filter, 1), std::nullopt};
    }
    return raw(rawExtension);
}
