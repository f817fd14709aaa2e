#include "decoders/HexDump.h"

#include "decoders/ResourceAccess.h"
#include "resources/Module.h"
#include "system/AnsiCodePage.h"
#include "system/ErrorReport.h"

#include <limits>

namespace {
constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

QChar *PutHex(QChar *out, std::uint64_t value, int digits) {
    for (int i = digits - 1; i >= 0; --i)
        out[i] = QChar(kHexDigits[(value >> (4 * (digits - 1 - i))) & 0xF]);
    return out + digits;
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
    QChar *out = text.data();
    for (std::size_t i = 0; i < n; i += 16) {
        out = PutHex(out, i, 8);
        *out++ = QLatin1Char(':');
        *out++ = QLatin1Char(' ');
        *out++ = QLatin1Char(' ');
        for (std::size_t j = 0; j < 16; ++j) {
            if (i + j < n) {
                out = PutHex(out, static_cast<std::uint8_t>(bytes[i + j]), 2);
            } else {
                *out++ = QLatin1Char(' ');
                *out++ = QLatin1Char(' ');
            }
            *out++ = QLatin1Char(' ');
        }
        *out++ = QLatin1Char(' ');
        *out++ = QLatin1Char(' ');
        for (std::size_t j = 0; j < 16; ++j) {
            const auto b = i + j < n ? static_cast<std::uint8_t>(bytes[i + j]) : std::uint8_t{0};
            *out++ = b < 32 ? QLatin1Char('.') : AnsiChar(b);
        }
        *out++ = QLatin1Char('\r');
        *out++ = QLatin1Char('\n');
    }
    return text;
}

QString HexDumpText(const QString &type, const QString &name) {
    return HexDumpText(CurrentModule(), LoadedEntry(type, name));
}

QString HexDumpText(const ModuleCatalogue &module, const ResourceEntry &entry) {
    const auto bytes = GetResourceBytes(module, entry);
    // No bytes (missing or empty resource) is an index out of range, as for any empty array.
    if (!bytes) ErrorReport::outOfRange();
    return HexDump(*bytes);
}

QString HtmlText(const QString &type, const QString &name) {
    return HtmlText(CurrentModule(), LoadedEntry(type, name));
}

QString HtmlText(const ModuleCatalogue &module, const ResourceEntry &entry) {
    const auto bytes = module.Bytes(entry);
    return bytes ? AnsiToUnicode(*bytes) : QString();
}
