#pragma once
// The fallback rendering of any resource (a hexadecimal dump) and the plain text of an HTML one.
#include "resources/ModuleCatalogue.h"

#include <QString>
#include <cstddef>
#include <span>

// Sixteen bytes a line: the offset (8 hex digits), ":  ", sixteen cells "XX " (three blanks past
// the end), two blanks, the bytes as ANSI characters ("." below 32 and past the end), CR LF.
// Every line is 79 characters. Raises code 9 when the resource yields no bytes.
QString HexDumpText(const ModuleCatalogue &module, const ResourceEntry &entry);
QString HexDump(std::span<const std::byte> bytes);
// The bytes as ANSI text, markup and line breaks untouched; empty when there are no bytes.
QString HtmlText(const ModuleCatalogue &module, const ResourceEntry &entry);
// The rightmost `width` characters of `width` zeros followed by `text`.
QString PadLeft(const QString &text, int width);

inline constexpr int kHexDumpLineLength = 79;
