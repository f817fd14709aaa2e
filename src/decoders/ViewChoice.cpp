#include "decoders/ViewChoice.h"

#include "decoders/AcceleratorText.h"
#include "decoders/HexDump.h"
#include "decoders/MenuText.h"
#include "decoders/MessageTableText.h"
#include "decoders/StringTableText.h"
#include "decoders/VersionText.h"

#include <initializer_list>

namespace {
bool IsHtmlName(const QString &name) {
    const QString upper = name.toUpper();
    return upper.endsWith(QLatin1String("HTML")) || upper.endsWith(QLatin1String("HTM"));
}
} // namespace

ResourceView ChooseView(const QString &type, const QString &name) {
    const QString key = type.toUpper();
    auto is = [&key](std::initializer_list<const char *> keys) {
        for (const char *k : keys)
            if (key == QLatin1String(k)) return true;
        return false;
    };
    if (is({"1", "2", "3", "12", "14"})) return ResourceView::Picture;
    if (is({"4"})) return ResourceView::Menu;
    if (is({"5", "17"})) return ResourceView::Dialog;
    if (is({"6"})) return ResourceView::StringTable;
    if (is({"9"})) return ResourceView::Accelerators;
    if (is({"11"})) return ResourceView::MessageTable;
    if (is({"16"})) return ResourceView::Version;
    if (is({"23"})) return IsHtmlName(name) ? ResourceView::Html : ResourceView::HexDump;
    if (is({"AVI"})) return ResourceView::Video;
    if (is({"WAVE"})) return ResourceView::Sound;
    if (is({"MIDI"})) return ResourceView::Music;
    if (is({"JPG", "JPEG", "GIF", "WMF", "EMF"})) return ResourceView::PictureFile;
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
