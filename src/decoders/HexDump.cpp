#include "decoders/HexDump.h"

#include "decoders/ResourceAccess.h"
#include "system/AnsiCodePage.h"
#include "system/ErrorReport.h"
#include "system/LargeBuffers.h"

#include <array>
#include <limits>

namespace {
constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

void PutOffset(char16_t *out, std::size_t value) {
    for (int i = 7; i >= 0; --i, value >>= 4)
        out[i] = kHexDigits[value & 0xF];
}

// What each byte value becomes in a line: two hex digits and its ANSI character (a dot below 32).
struct ByteCells {
    char16_t hex[2];
    char16_t text;
};

const std::array<ByteCells, 256> &CellsOfBytes() {
    static const auto cells = [] {
        std::array<ByteCells, 256> table{};
        for (std::size_t b = 0; b < table.size(); ++b)
            table[b] = {{kHexDigits[b >> 4], kHexDigits[b & 0xF]},
                        b < 32 ? u'.' : AnsiChar(static_cast<std::uint8_t>(b)).unicode()};
        return table;
    }();
    return cells;
}
} // namespace

QString PadLeft(const QString &text, int width) {
    if (width <= 0) return QString();
    return (QString(width, QLatin1Char('0')) + text).right(width);
}

QString HexDump(std::span<const std::byte> bytes) {
    const std::size_t n = bytes.size();
    const std::size_t lines = (n + 15) / 16;
    if (lines > static_cast<std::size_t>(std::numeric_limits<qsizetype>::max() / kHexDumpLineLength))
        ErrorReport::outOfMemory();
    // The whole text is allocated once; each line is written straight into its slot.
    QString text(static_cast<qsizetype>(lines * kHexDumpLineLength), Qt::Uninitialized);
    AdviseLargeBuffer(text.data(), static_cast<std::size_t>(text.size()) * sizeof(QChar));
    const auto &cells = CellsOfBytes();
    auto *out = reinterpret_cast<char16_t *>(text.data());
    for (std::size_t i = 0; i < n; i += 16, out += kHexDumpLineLength) {
        // offset ":  " cells "XX " two blanks, sixteen characters, CR LF; past the end, blanks and dots.
        PutOffset(out, i);
        char16_t *hex = out + 8;
        hex[0] = u':';
        hex[1] = hex[2] = u' ';
        hex += 3;
        char16_t *chars = out + 8 + 3 + 16 * 3 + 2;
        chars[-2] = chars[-1] = u' ';
        for (std::size_t j = 0; j < 16; ++j, hex += 3) {
            if (i + j < n) {
                const ByteCells &c = cells[static_cast<std::uint8_t>(bytes[i + j])];
                hex[0] = c.hex[0];
                hex[1] = c.hex[1];
                chars[j] = c.text;
            } else {
                hex[0] = hex[1] = u' ';
                chars[j] = u'.';
            }
            hex[2] = u' ';
        }
        chars[16] = u'\r';
        chars[17] = u'\n';
    }
    return text;
}

QString HexDumpText(const ModuleCatalogue &module, const ResourceEntry &entry) {
    const auto bytes = GetResourceBytes(module, entry);
    // No bytes (missing or empty resource) is an index out of range, as for any empty array.
    if (!bytes) ErrorReport::outOfRange();
    return HexDump(*bytes);
}

QString HtmlText(const ModuleCatalogue &module, const ResourceEntry &entry) {
    const auto bytes = module.Bytes(entry);
    return bytes ? AnsiToUnicode(*bytes) : QString();
}
