#pragma once
// Menus (resource type 4) as an indented outline of their items.
#include "formats/MenuTemplate.h"
#include "resources/ModuleCatalogue.h"

#include <QString>

// The rendering of a menu: one line per item, depth-first, each indented by four full stops
// per level; "[Разделитель]" for a plain separator, otherwise the item's text and " (cmdID = id)".
// The empty text when the menu cannot be built.
QString MenuText(const ModuleCatalogue &module, const ResourceEntry &entry);
// The same over a template's bytes.
QString MenuTextFromTemplate(std::span<const std::byte> bytes);
// Appends the lines of the menu's items, and of their submenus one level deeper, to `text`. A null
// menu appends nothing.
void AppendMenuItems(QString &text, const Menu *menu, int depth);
