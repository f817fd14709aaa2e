#pragma once
// String tables (resource type 6): one block of sixteen strings a resource.
#include "resources/ModuleCatalogue.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <span>

// The rendering of a block, whose name is its block number: one line "id  text" per present
// string, CR LF after each. Raises code 9 when the block yields no bytes, when its name carries no
// number, or when its data ends before the sixteenth entry; code 6 when the identifiers overflow.
QString StringTableText(const ModuleCatalogue &module, const ResourceEntry &entry);
// The same over the block's bytes; block n holds the strings (n - 1) * 16 to n * 16 - 1.
QString StringTableText(std::span<const std::byte> block, std::int32_t blockNumber);
