#include "imaging/metafile/gdi/GdiCharsets.h"

#include "system/AnsiCodePage.h"

namespace {
// Windows-1252 differs from Latin-1 only in 0x80 to 0x9F; undefined codes keep their value.
constexpr char16_t kCp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
} // namespace

QString DecodeCharsetText(std::span<const std::byte> bytes, std::uint8_t charSet) {
    if (charSet == 1 || charSet == 204) return AnsiToUnicode(bytes);
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (std::byte b : bytes) {
        const auto c = static_cast<std::uint8_t>(b);
        if (charSet == 0 && c >= 0x80 && c < 0xA0)
            text.append(QChar(kCp1252High[c - 0x80]));
        else
            text.append(QChar(c));
    }
    return text;
}
