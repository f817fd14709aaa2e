#pragma once
// Message tables (resource type 11): every message of every block, in file order.
#include "resources/ModuleCatalogue.h"

#include <QString>
#include <cstddef>
#include <span>

// The rendering of a table: per entry the identifier (signed 32-bit), two blanks and the
// message's own text, which normally ends with its line break; nothing is added between entries.
// The empty text for a table without blocks. Raises code 9 when the table yields no bytes, has a
// negative block count, or its block table or an entry lies outside the bytes; code 7 when the
// rendering would grow beyond `maxLength` characters (blocks may share their entries).
QString MessageTableText(const ModuleCatalogue &module, const ResourceEntry &entry);
inline constexpr qsizetype kMaxMessageTableText = 64 * 1024 * 1024;
QString MessageTableText(std::span<const std::byte> table, qsizetype maxLength = kMaxMessageTableText);
