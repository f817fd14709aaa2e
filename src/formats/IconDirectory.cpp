#include "formats/IconDirectory.h"

#include "pe/ByteReader.h"
#include "system/ErrorReport.h"

#include <cstdlib>

namespace {
// The header shared by groups and files: reserved 0, type 1 (icon) or 2 (cursor), entry count.
std::uint16_t ReadHeader(ByteReader &r, std::optional<bool> cursor, bool &isCursor) {
    if (r.u16() != 0) ErrorReport::invalidPicture();
    const std::uint16_t type = r.u16();
    if (type != 1 && type != 2) ErrorReport::invalidPicture();
    isCursor = type == 2;
    if (cursor && *cursor != isCursor) ErrorReport::invalidPicture();
    return r.u16();
}

// Colour depth of an entry: its bit count, or what its colour count implies when that is 0.
int DepthOf(const IconDirEntry &e) {
    if (e.bitCount != 0) return e.bitCount;
    if (e.colorCount == 0) return 8;
    int bits = 0;
    while ((1 << bits) < e.colorCount && bits < 32)
        ++bits;
    return bits;
}

// Width, height and colour count in a byte each (0 meaning 256 pixels), then a reserved byte.
void ReadByteSizedEntry(ByteReader &r, IconDirEntry &e) {
    e.width = r.u8();
    e.height = r.u8();
    e.colorCount = r.u8();
    r.u8(); // reserved
    if (e.width == 0) e.width = 256;
    if (e.height == 0) e.height = 256;
}

} // namespace

IconDirectory ReadGroupDirectory(std::span<const std::byte> data, bool cursor) {
    ByteReader r(data);
    IconDirectory dir;
    const std::uint16_t count = ReadHeader(r, cursor, dir.cursor);
    dir.entries.reserve(count);
    for (std::uint16_t i = 0; i < count; ++i) {
        IconDirEntry e;
        if (cursor) {
            e.width = r.u16();
            e.height = r.u16() / 2;
        } else {
            ReadByteSizedEntry(r, e);
        }
        r.u16(); // planes
        e.bitCount = r.u16();
        e.bytes = r.u32();
        e.idOrOffset = r.u16();
        dir.entries.push_back(e);
    }
    return dir;
}

IconDirectory ReadIconFileDirectory(std::span<const std::byte> file) {
    ByteReader r(file);
    IconDirectory dir;
    const std::uint16_t count = ReadHeader(r, std::nullopt, dir.cursor);
    dir.entries.reserve(count);
    for (std::uint16_t i = 0; i < count; ++i) {
        IconDirEntry e;
        ReadByteSizedEntry(r, e);
        const std::uint16_t planesOrX = r.u16();
        const std::uint16_t bitsOrY = r.u16();
        // A cursor file keeps the hotspot where an icon file has planes and bit count.
        if (dir.cursor)
            e.hotspot = QPoint(planesOrX, bitsOrY);
        else
            e.bitCount = bitsOrY;
        e.bytes = r.u32();
        e.idOrOffset = r.u32();
        dir.entries.push_back(e);
    }
    return dir;
}

std::optional<std::size_t> ChooseIconEntry(const IconDirectory &directory) {
    std::optional<std::size_t> best;
    int bestDistance = 0, bestDepth = 0;
    for (std::size_t i = 0; i < directory.entries.size(); ++i) {
        const IconDirEntry &e = directory.entries[i];
        const int distance = std::abs(e.width - kStandardIconSize) + std::abs(e.height - kStandardIconSize);
        const int depth = DepthOf(e);
        if (!best || distance < bestDistance || (distance == bestDistance && depth > bestDepth)) {
            best = i;
            bestDistance = distance;
            bestDepth = depth;
        }
    }
    return best;
}

std::optional<std::size_t> ChooseIconEntryFor(const IconDirectory &directory, int size) {
    std::optional<std::size_t> best;
    bool bestCovers = false;
    std::int64_t bestArea = 0;
    int bestDepth = 0;
    for (std::size_t i = 0; i < directory.entries.size(); ++i) {
        const IconDirEntry &e = directory.entries[i];
        const bool covers = e.width >= size && e.height >= size;
        const std::int64_t area = std::int64_t{e.width} * e.height;
        const int depth = DepthOf(e);
        bool better = !best;
        if (!better && covers != bestCovers)
            better = covers;
        else if (!better && area != bestArea)
            better = covers ? area < bestArea : area > bestArea;
        else if (!better)
            better = depth > bestDepth;
        if (better) {
            best = i;
            bestCovers = covers;
            bestArea = area;
            bestDepth = depth;
        }
    }
    return best;
}
