#include "formats/IconGroupFile.h"

#include "formats/IconImageShape.h"
#include "pe/ByteReader.h"
#include "pe/ByteWriter.h"
#include "system/ErrorReport.h"

#include <algorithm>

namespace {
constexpr std::size_t kHeaderBytes = 6, kFileEntryBytes = 16;

// A dimension in a byte of a file entry: 256 and more are written as 0.
char SizeByte(std::uint32_t pixels) {
    return static_cast<char>(pixels >= 256 ? 0 : pixels);
}
} // namespace

QByteArray IconGroupFile(std::span<const std::byte> group, bool cursor, const GroupImageData &images) {
    ByteReader r(group);
    if (r.u16() != 0 || r.u16() != (cursor ? 2 : 1)) ErrorReport::invalidPicture();
    const std::uint16_t count = r.u16();
    if (count == 0) ErrorReport::invalidPicture();
    // 14 bytes an entry: icons have width, height, colour count, reserved (a byte each), cursors
    // width and height (16 bits each); then planes, bit count, the resource's size as the group
    // states it (the image's own is written), its identifier.
    const std::span<const std::byte> entries = r.take(std::size_t{14} * count);
    auto idOf = [&](std::uint16_t i) { return ByteReader(entries).u16At(std::size_t{14} * i + 12); };
    // The image as the file stores it, and a cursor's hotspot.
    struct Image {
        std::vector<std::byte> stored;
        std::span<const std::byte> bytes;
        std::uint16_t hotspotX = 0, hotspotY = 0;
    };
    auto imageOf = [&](std::uint16_t i) {
        Image image;
        auto stored = images(idOf(i));
        if (!stored) ErrorReport::invalidPicture();
        image.stored = std::move(*stored);
        image.bytes = image.stored;
        if (cursor) {
            ByteReader c(image.bytes);
            image.hotspotX = c.u16();
            image.hotspotY = c.u16();
            image.bytes = image.bytes.subspan(4);
        }
        if (image.bytes.empty()) ErrorReport::invalidPicture();
        return image;
    };

    // The file's size first, one image at a time: a group past the bound is refused before any of
    // it is kept.
    const std::size_t dataStart = kHeaderBytes + kFileEntryBytes * count;
    std::size_t total = dataStart;
    for (std::uint16_t i = 0; i < count; ++i) {
        total = CheckedAdd(total, imageOf(i).bytes.size());
        if (total > kMostGroupFileBytes) ErrorReport::outOfMemory();
    }
    QByteArray file;
    file.reserve(static_cast<qsizetype>(total));
    Put16(file, 0);
    Put16(file, cursor ? 2 : 1);
    Put16(file, count);
    file.resize(static_cast<qsizetype>(dataStart));
    for (std::uint16_t i = 0; i < count; ++i) {
        const Image image = imageOf(i);
        QByteArray entry;
        if (cursor) {
            const IconImageShape shape = StoredShape(image.bytes);
            entry.append(SizeByte(shape.width));
            entry.append(SizeByte(shape.height));
            entry.append(static_cast<char>(shape.bitCount > 0 && shape.bitCount < 8 ? 1 << shape.bitCount : 0));
            entry.append('\0');
            Put16(entry, image.hotspotX);
            Put16(entry, image.hotspotY);
        } else {
            entry.append(reinterpret_cast<const char *>(entries.data()) + std::size_t{14} * i, 8);
        }
        Put32(entry, static_cast<std::uint32_t>(image.bytes.size()));
        Put32(entry, static_cast<std::uint32_t>(file.size()));
        file.replace(static_cast<qsizetype>(kHeaderBytes + kFileEntryBytes * i), entry.size(), entry);
        file.append(reinterpret_cast<const char *>(image.bytes.data()), static_cast<qsizetype>(image.bytes.size()));
    }
    return file;
}
