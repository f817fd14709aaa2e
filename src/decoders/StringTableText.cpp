#include "decoders/StringTableText.h"

#include "decoders/ResourceAccess.h"
#include "pe/ByteReader.h"
#include "resources/IdentifierStrings.h"
#include "system/ErrorReport.h"
#include "text/ReplaceText.h"
#include "text/TextHelpers.h"

#include <limits>

QString StringTableText(std::span<const std::byte> block, std::int32_t blockNumber) {
    const std::int32_t first = CheckedMul(CheckedSub(blockNumber, 1), 16);
    const std::int32_t last = CheckedAdd(first, 15);
    ByteReader reader(block);
    QString text;
    for (std::int32_t id = first;; ++id) {
        // Each entry: a 16-bit count of UTF-16 units, then the units; a count of 0 is an absent
        // string, which still takes its place so the following identifiers do not shift.
        const std::uint16_t length = reader.u16();
        if (length != 0) {
            QString line = QString::number(id) + QStringLiteral("  ") + reader.utf16(length);
            text += TrimAtNul(NormaliseLineBreaks(line));
            text += QStringLiteral("\r\n");
        }
        if (id == last) break;
    }
    return text;
}

QString StringTableText(const ModuleCatalogue &module, const ResourceEntry &entry) {
    const auto bytes = GetResourceBytes(module, entry);
    if (!bytes) ErrorReport::outOfRange();
    // The block number is the name string without its first character ("#"); a named block has
    // none, unless its name is made of digits.
    const auto number = NumberValue(NameString(entry.name).mid(1));
    if (!number) ErrorReport::outOfRange();
    if (*number > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max()))
        ErrorReport::overflow();
    return StringTableText(*bytes, static_cast<std::int32_t>(*number));
}
