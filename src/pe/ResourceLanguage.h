#pragma once
// Which language of a resource the program shows and looks up when the file holds several.
#include <cstdint>
#include <span>

// The program's home system is Russian. Order of preference: neutral (0x0000), Russian (0x0419),
// Russian with neutral sublanguage (0x0019), the user and system defaults (0x0400, 0x0800),
// English US (0x0409), English neutral (0x0009); a resource in none of these is taken in the first
// language listed. Returns the index into `languages` of the one chosen; `languages` is not empty.
std::size_t PreferredLanguageIndex(std::span<const std::uint16_t> languages);
