#pragma once
// Single-byte text of metafile records in the code page that the selected font's character set
// names.
#include <QString>
#include <cstddef>
#include <cstdint>
#include <span>

// ANSI (0) is Windows-1252, Russian (204) and the default set (1) are the program's ANSI code
// page; other sets read as Latin-1.
QString DecodeCharsetText(std::span<const std::byte> bytes, std::uint8_t charSet);
