#include "formats/IconGroupFile.h"

#include "pe/ByteReader.h"
#include "system/ErrorReport.h"

#include <QtEndian>
#include <algorithm>
#include <array>

namespace {
constexpr std::size_t kHeaderBytes = 6, kFileEntryBytes = 16;
constexpr std::array<std::uint8_t, 8> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

void Put16(QByteArray &out, std::uint32_t v) {
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(QByteArray &out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
// A dimension in a byte of a file entry: 256 and more are written as 0.
char SizeByte(std::uint32_t pixels) {
    return static_cast<char>(pixels >= 256 ? 0 : pixels);
}

struct ImageShape {
    std::uint32_t width = 0, height = 0; // of the image, not of image and mask
    std::uint16_t bitCount = 0;
};

// The size and depth an image states in its own header: a PNG's IHDR chunk, or the DIB's info or
// core header, whose height counts the image and its mask.
ImageShape ShapeOf(std::span<const std::byte> image) {
    const ByteReader r(image);
    bool png = image.size() >= kPngSignature.size();
    for (std::size_t i = 0; png && i < kPngSignature.size(); ++i)
        png = r.u8At(i) == kPngSignature[i];
    if (png) {
        // The signature, then IHDR's length and name, then its width and height, big-endian.
        const auto be = [&](std::size_t at) { return qFromBigEndian<quint32>(r.spanAt(at, 4).data()); };
        return {be(16), be(20), 32};
    }
    const std::uint32_t headerSize = r.u32At(0);
    if (headerSize == 12) return {r.u16At(4), r.u16At(6) / 2u, r.u16At(10)};
    if (headerSize < 40) ErrorReport::invalidPicture();
    const auto height = static_cast<std::int32_t>(r.u32At(8));
    const std::uint32_t rows = height < 0 ? 0u - static_cast<std::uint32_t>(height) : static_cast<std::uint32_t>(height);
    return {r.u32At(4), rows / 2, r.u16At(14)};
}
} // namespace

QByteArray IconGroupFile(std::span<const std::byte> group, bool cursor, const GroupImageData &images) {
    ByteReader r(group);
    if (r.u16() != 0 || r.u16() != (cursor ? 2 : 1)) ErrorReport::invalidPicture();
    const std::uint16_t count = r.u16();
    if (count == 0) ErrorReport::invalidPicture();

    QByteArray entries, data;
    std::size_t total = kHeaderBytes + kFileEntryBytes * count;
    for (std::uint16_t i = 0; i < count; ++i) {
        // 14 bytes: icons width, height, colour count, reserved (a byte each); cursors width and
        // height (16 bits each); then planes, bit count, bytes in the resource, identifier.
        const std::span<const std::byte> fields = r.take(8);
        r.u32(); // the resource's size as the group states it; the image's own is written
        const std::uint16_t id = r.u16();
        const auto stored = images(id);
        if (!stored) ErrorReport::invalidPicture();
        std::span<const std::byte> image(*stored);
        std::uint16_t hotspotX = 0, hotspotY = 0;
        if (cursor) {
            ByteReader c(image);
            hotspotX = c.u16();
            hotspotY = c.u16();
            image = image.subspan(4);
        }
        if (image.empty()) ErrorReport::invalidPicture();
        total = CheckedAdd(total, image.size());
        if (total > kMostGroupFileBytes) ErrorReport::outOfMemory();

        if (cursor) {
            const ImageShape shape = ShapeOf(image);
            entries.append(SizeByte(shape.width));
            entries.append(SizeByte(shape.height));
            entries.append(static_cast<char>(shape.bitCount > 0 && shape.bitCount < 8 ? 1 << shape.bitCount : 0));
            entries.append('\0');
            Put16(entries, hotspotX);
            Put16(entries, hotspotY);
        } else {
            entries.append(reinterpret_cast<const char *>(fields.data()), static_cast<qsizetype>(fields.size()));
        }
        Put32(entries, static_cast<std::uint32_t>(image.size()));
        Put32(entries, static_cast<std::uint32_t>(kHeaderBytes + kFileEntryBytes * count + data.size()));
        data.append(reinterpret_cast<const char *>(image.data()), static_cast<qsizetype>(image.size()));
    }
    QByteArray file;
    file.reserve(static_cast<qsizetype>(total));
    Put16(file, 0);
    Put16(file, cursor ? 2 : 1);
    Put16(file, count);
    file.append(entries);
    file.append(data);
    return file;
}
