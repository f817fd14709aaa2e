#pragma once
// Which view shows a resource, chosen by its type (and, for HTML, its name), and the text of the
// text views: the one dispatch table that the window's pane and the command-line tool share.
#include "resources/ModuleCatalogue.h"

#include <QString>

enum class ResourceView {
    Picture,     // bitmaps, icons, cursors and their groups
    PictureFile, // a custom resource holding a JPEG, GIF, WMF or EMF file
    Menu,
    Dialog,
    StringTable,
    Accelerators,
    MessageTable,
    Version,
    Html,
    HexDump,
    Video,
    Sound,
    Music,
};

// The type picks the row, the first match wins. An HTML document (type 23) is shown as text when
// its name ends in "HTML" or "HTM", whatever the case (an integer name never does), and dumped
// otherwise; every type without a row is dumped.
ResourceView ChooseView(const ResourceEntry &entry);
// The views that show a text in the text pane.
bool IsTextView(ResourceView view);
// Whether that text is shown in the proportional font; only the hex dump is fixed-pitch.
bool IsProportionalText(ResourceView view);
// The text of a text view, exactly as the pane shows it; raises what its decoder raises.
QString ViewText(ResourceView view, const ModuleCatalogue &module, const ResourceEntry &entry);
