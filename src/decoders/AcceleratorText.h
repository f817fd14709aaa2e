#pragma once
// Accelerator tables (resource type 9): one line per shortcut.
#include "resources/ModuleCatalogue.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <span>

// The rendering of a table: per 8-byte entry "SHIFT+", "CTRL+", "ALT+" as flagged, the key's
// name and " (cmdID = id)" with the identifier as a signed 16-bit number, CR LF after each. Bytes
// after the last whole entry are ignored. Raises code 9 when the table has no whole entry.
QString AcceleratorText(const ModuleCatalogue &module, const ResourceEntry &entry);
QString AcceleratorText(std::span<const std::byte> table);
// The English name of a virtual-key code; "VIRTUAL KEY " and the code for codes without a name.
QString KeyName(std::int32_t code);
