#include "formats/VersionInfo.h"

#include "pe/ByteReader.h"
#include "system/AnsiCodePage.h"
#include "system/ErrorReport.h"

#include <QStringList>
#include <algorithm>

namespace {
// One block of the version data: a header (length, value length, in the 32-bit form also a type
// word), a NUL-terminated key, the value on a DWORD boundary, then the child blocks, each on a
// DWORD boundary. The 16-bit form has ANSI keys and values and no type word.
struct Block {
    QString key;
    std::span<const std::byte> value; // as declared, cut at the block's end
    bool textValue = false;
    bool wide = true;
    ByteReader reader;          // the whole block
    std::size_t childStart = 0; // offset of the first child inside the block
};

std::size_t AlignUp(std::size_t offset) {
    return (offset + 3) & ~std::size_t{3};
}

// The 32-bit form starts with its type word (0 or 1) where the 16-bit form has the first character
// of its key.
bool IsWideForm(const ByteReader &data) {
    return data.u8At(4) < 0x20;
}

// The block at `offset` of `parent`; its length must lie inside the parent.
Block ReadBlock(const ByteReader &parent, std::size_t offset, bool wide) {
    Block block;
    block.wide = wide;
    block.reader = parent.sub(offset, parent.u16At(offset));
    ByteReader &r = block.reader;
    r.skip(2);
    const std::uint16_t valueLength = r.u16();
    std::size_t valueBytes = valueLength;
    if (wide) {
        block.textValue = r.u16() == 1;
        block.key = r.utf16z();
        // A text value's length counts UTF-16 units, a binary one's bytes.
        if (block.textValue) valueBytes *= 2;
    } else {
        block.key = r.ansiz();
        block.textValue = true;
    }
    const std::size_t valueStart = std::min(AlignUp(r.pos()), r.size());
    // Some writers count a string's length in bytes; the value never reaches past its block.
    block.value = r.spanAt(valueStart, std::min(valueBytes, r.size() - valueStart));
    block.childStart = AlignUp(valueStart + block.value.size());
    return block;
}

std::optional<Block> FindChild(const Block &block, const QString &key) {
    for (std::size_t offset = block.childStart; offset < block.reader.size();) {
        // A zero length ends the children (it would never move on), as padding after the last does.
        if (block.reader.u16At(offset) == 0) break;
        const Block child = ReadBlock(block.reader, offset, block.wide);
        if (child.key.compare(key, Qt::CaseInsensitive) == 0) return child;
        offset = AlignUp(offset + child.reader.size());
    }
    return std::nullopt;
}

std::optional<Block> FindBlock(std::span<const std::byte> data, const QString &subBlock) {
    const ByteReader whole(data);
    const bool wide = IsWideForm(whole);
    std::optional<Block> block = ReadBlock(whole, 0, wide);
    for (const QString &key : subBlock.split(QLatin1Char('\\'), Qt::SkipEmptyParts)) {
        block = FindChild(*block, key);
        if (!block) return std::nullopt;
    }
    return block;
}
} // namespace

std::optional<std::span<const std::byte>> VerQueryValueBytes(std::span<const std::byte> data,
                                                             const QString &subBlock) {
    const auto block = FindBlock(data, subBlock);
    if (!block) return std::nullopt;
    return block->value;
}

std::optional<QString> VerQueryValueAnsi(std::span<const std::byte> data, const QString &subBlock) {
    const auto block = FindBlock(data, subBlock);
    if (!block) return std::nullopt;
    ByteReader value(block->value);
    QString text;
    if (block->wide) {
        // Up to the NUL, or the whole value when it has none.
        while (value.remaining() >= 2) {
            const char16_t c = value.u16();
            if (c == 0) break;
            text.append(QChar(c));
        }
        return AnsiToUnicode(UnicodeToAnsi(text));
    }
    const auto bytes = block->value;
    const auto nul = std::find(bytes.begin(), bytes.end(), std::byte{0});
    return AnsiToUnicode(bytes.first(static_cast<std::size_t>(nul - bytes.begin())));
}
