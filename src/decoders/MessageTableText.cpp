#include "decoders/MessageTableText.h"

#include "decoders/ResourceAccess.h"
#include "pe/ByteReader.h"
#include "system/AnsiCodePage.h"
#include "system/ErrorReport.h"
#include "text/ReplaceText.h"
#include "text/TextHelpers.h"

#include <vector>

namespace {
struct MessageBlock {
    std::int32_t lowId, highId;
    std::uint32_t offset;
};
constexpr std::uint16_t kUnicodeEntry = 0x0001;
constexpr std::size_t kEntryHeader = 4;
constexpr std::size_t kBlockRecord = 12;

// The entry's text: UTF-16 when its flags are exactly 1, otherwise ANSI; up to its first NUL.
QString EntryText(ByteReader &entry, std::uint16_t flags) {
    const std::size_t bytes = entry.remaining();
    if (flags == kUnicodeEntry) return TrimAtNul(entry.utf16(bytes / 2));
    return TrimAtNul(AnsiToUnicode(entry.take(bytes)));
}
} // namespace

QString MessageTableText(std::span<const std::byte> table, qsizetype maxLength) {
    ByteReader reader(table);
    const std::int32_t count = reader.i32();
    if (count == 0) return QString();
    // A negative count gives no block array at all.
    if (count < 0) ErrorReport::outOfRange();
    // The whole block table is read before any entry, so a table that runs out fails first.
    ByteReader records = reader.sub(4, CheckedMul(static_cast<std::size_t>(count), kBlockRecord));
    std::vector<MessageBlock> blocks;
    blocks.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        MessageBlock block;
        block.lowId = records.i32();
        block.highId = records.i32();
        block.offset = records.u32();
        blocks.push_back(block);
    }

    QString text;
    for (const MessageBlock &block : blocks) {
        std::size_t p = block.offset;
        // The identifier runs in 64 bits, so a block ending at the largest identifier stops there
        // instead of wrapping round; a block whose lowest identifier is above its highest shows nothing.
        for (std::int64_t id = block.lowId; id <= block.highId; ++id) {
            const std::uint16_t length = reader.u16At(p);
            // A zero length ends the block; a length shorter than the entry's own header cannot
            // hold a text and ends it too.
            if (length < kEntryHeader) break;
            const std::uint16_t flags = reader.u16At(p + 2);
            ByteReader entry = reader.sub(p + kEntryHeader, length - kEntryHeader);
            const QString line = QString::number(id) + QStringLiteral("  ") + EntryText(entry, flags);
            text += TrimAtNul(NormaliseLineBreaks(line));
            // Blocks may point at the same entries, so the rendering is bounded by more than the
            // table's size; past the bound it is as if memory ran out.
            if (text.size() > maxLength) ErrorReport::outOfMemory();
            p += length;
        }
    }
    return text;
}

QString MessageTableText(const ModuleCatalogue &module, const ResourceEntry &entry) {
    const auto bytes = GetResourceBytes(module, entry);
    if (!bytes) ErrorReport::outOfRange();
    return MessageTableText(*bytes);
}
