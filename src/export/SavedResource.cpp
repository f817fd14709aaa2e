#include "export/SavedResource.h"

#include "decoders/PictureDecoders.h"
#include "decoders/StringTableText.h"
#include "decoders/ViewChoice.h"
#include "imaging/PictureFiles.h"

namespace {
const ResourceId kStringTable = ResourceId::fromNumber(6);
} // namespace

SavedResource::SavedResource(const ModuleCatalogue &module, ResourceEntry entry)
    : module_(module), entry_(std::move(entry)), filter_(SaveFilter(entry_.type)) {}

SavedResource SavedResource::Of(const ModuleCatalogue &module, const ResourceEntry &entry,
                                const SystemColours &colours) {
    SavedResource saved(module, entry);
    saved.colours_ = colours;
    switch (SaveSourceOf(entry.type)) {
    case SaveSource::Picture: {
        MadePicture picture = DecodeResourcePicture(module, entry, colours);
        saved.prepareFailure_ = picture.failure();
        saved.picture_ = std::move(picture).take();
        if (!saved.picture_ && !saved.prepareFailure_)
            saved.prepareFailure_ = MadeBy([]() -> int { ErrorReport::invalidPicture(); }).failure();
        break;
    }
    case SaveSource::Text: {
        // The text the pane shows for the resource; where the pane has none to show, the raw bytes
        // are written instead.
        Made<QString> text = MadeBy([&] { return ViewText(ChooseView(entry), module, entry); });
        saved.prepareFailure_ = text.failure();
        saved.text_ = std::move(text).take();
        break;
    }
    case SaveSource::Nothing:
        break;
    }
    return saved;
}

SavedResource SavedResource::AllStringTables(const ModuleCatalogue &module) {
    // With no block at all the text stays empty, and the raw bytes of a nameless block are asked
    // for: a failure.
    SavedResource saved(module, {kStringTable, ResourceId::fromName(QString())});
    for (const ResourceId &name : module.Names(kStringTable))
        saved.text_ += StringTableText(module, {kStringTable, name}) + QStringLiteral("\r\n");
    return saved;
}

SavedForm SavedResource::FormOf(int filterIndex) const {
    return SavedFormOf(picture_ != nullptr, !text_.isEmpty(), filterIndex);
}

QByteArray SavedResource::FileBytes(int filterIndex) const {
    switch (FormOf(filterIndex)) {
    case SavedForm::PictureFile:
        return PictureFileBytes(*picture_);
    case SavedForm::DrawnBitmap:
        // Over the button face, the colour of the scratch box the picture is drawn on.
        return BmpFileBytes(DrawnPicture(*picture_, QColor::fromRgb(colours_.face3D)));
    case SavedForm::Text:
        return TextFileBytes(text_);
    case SavedForm::RawBytes:
        break;
    }
    return RawFileBytes(module_, entry_);
}
