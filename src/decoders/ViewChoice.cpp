#include "decoders/ViewChoice.h"

#include "decoders/AcceleratorText.h"
#include "decoders/HexDump.h"
#include "decoders/MenuText.h"
#include "decoders/MessageTableText.h"
#include "decoders/StringTableText.h"
#include "decoders/VersionText.h"
#include "resources/TypeMatch.h"

namespace {
bool IsHtmlName(const ResourceId &name) {
    if (name.isNumber()) return false;
    const QString upper = name.name.toUpper();
    return upper.endsWith(QLatin1String("HTML")) || upper.endsWith(QLatin1String("HTM"));
}
} // namespace

ResourceView ChooseView(const ResourceEntry &entry) {
    const ResourceId &type = entry.type;
    if (IsTypeOf(type, {1, 2, 3, 12, 14})) return ResourceView::Picture;
    if (IsTypeOf(type, {4})) return ResourceView::Menu;
    if (IsTypeOf(type, {5, 17})) return ResourceView::Dialog;
    if (IsTypeOf(type, {6})) return ResourceView::StringTable;
    if (IsTypeOf(type, {9})) return ResourceView::Accelerators;
    if (IsTypeOf(type, {11})) return ResourceView::MessageTable;
    if (IsTypeOf(type, {16})) return ResourceView::Version;
    if (IsTypeOf(type, {23})) return IsHtmlName(entry.name) ? ResourceView::Html : ResourceView::HexDump;
    if (IsTypeOf(type, {}, {"AVI"})) return ResourceView::Video;
    if (IsTypeOf(type, {}, {"WAVE"})) return ResourceView::Sound;
    if (IsTypeOf(type, {}, {"MIDI"})) return ResourceView::Music;
    if (IsTypeOf(type, {}, {"JPG", "JPEG", "GIF", "WMF", "EMF"})) return ResourceView::PictureFile;
    return ResourceView::HexDump;
}

bool IsTextView(ResourceView view) {
    switch (view) {
    case ResourceView::Menu:
    case ResourceView::StringTable:
    case ResourceView::Accelerators:
    case ResourceView::MessageTable:
    case ResourceView::Version:
    case ResourceView::Html:
    case ResourceView::HexDump:
        return true;
    default:
        return false;
    }
}

bool IsProportionalText(ResourceView view) {
    return IsTextView(view) && view != ResourceView::HexDump;
}

QString ViewText(ResourceView view, const ModuleCatalogue &module, const ResourceEntry &entry) {
    switch (view) {
    case ResourceView::Menu:
        return MenuText(module, entry);
    case ResourceView::StringTable:
        return StringTableText(module, entry);
    case ResourceView::Accelerators:
        return AcceleratorText(module, entry);
    case ResourceView::MessageTable:
        return MessageTableText(module, entry);
    case ResourceView::Version:
        return VersionText(module);
    case ResourceView::Html:
        return HtmlText(module, entry);
    default:
        return HexDumpText(module, entry);
    }
}
