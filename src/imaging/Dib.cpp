#include "imaging/Dib.h"

#include "imaging/PngImage.h"
#include "pe/ByteReader.h"
#include "system/ErrorReport.h"

#include <algorithm>
#include <bit>
#include <vector>

namespace {
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;

// One colour component described by a bit mask, scaled to 8 bits by repeating its high bits
// (5 bits abcde become abcdeabc), as the platform widens 16-bit colours.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int width = 0;
    std::array<std::uint8_t, 256> widen{};

    explicit Channel(std::uint32_t m) : mask(m) {
        if (m == 0) return;
        shift = std::countr_zero(m);
        width = 32 - std::countl_zero(m) - shift;
        if (width >= 8) return;
        for (std::uint32_t v = 0; v < (1u << width); ++v) {
            std::uint32_t out = 0;
            int filled = 0;
            while (filled < 8) {
                out = (out << width) | v;
                filled += width;
            }
            widen[v] = static_cast<std::uint8_t>(out >> (filled - 8));
        }
    }
    int Value(std::uint32_t pixel) const {
        if (width == 0) return 0;
        const std::uint32_t v = (pixel & mask) >> shift;
        if (width >= 8) return static_cast<int>((v >> (width - 8)) & 0xFF);
        return widen[v];
    }
};

bool ValidBitCount(std::uint16_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// The colour table, always 256 entries: indices past the table's end read as black.
std::array<QRgb, 256> ReadColorTable(const DibHeader &h, std::span<const std::byte> info,
                                     const DibOptions &options) {
    std::array<QRgb, 256> table;
    table.fill(qRgb(0, 0, 0));
    ByteReader r(info);
    r.seek(h.colorTableOffset);
    const std::uint32_t count = std::min<std::uint32_t>(h.colorCount, 256);
    for (std::uint32_t i = 0; i < count; ++i) {
        QRgb c;
        if (options.paletteIndices) {
            const std::uint16_t index = r.u16();
            c = index < options.palette.size() ? options.palette[index] : qRgb(0, 0, 0);
        } else {
            const auto b = r.u8(), g = r.u8(), red = r.u8();
            if (h.colorEntrySize == 4) r.u8();
            c = qRgb(red, g, b);
        }
        for (const auto &[from, to] : options.substitutions)
            if (qRed(c) == qRed(from) && qGreen(c) == qGreen(from) && qBlue(c) == qBlue(from)) {
                c = to;
                break;
            }
        table[i] = c;
    }
    return table;
}

// All transparent black: what an RLE image skips stays so.
Pixels NewImage(const DibHeader &h) {
    return Pixels(h.width, h.height);
}

std::uint32_t Le16(const std::uint8_t *p) {
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8);
}
std::uint32_t Le32(const std::uint8_t *p) {
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
           (std::uint32_t{p[3]} << 24);
}

// Uncompressed rows, 1 to 32 bits per pixel.
void DecodeRows(const DibHeader &h, const std::uint8_t *bits, const std::array<QRgb, 256> &table,
                bool bitfields, Pixels &image) {
    const std::size_t stride = h.Stride();
    const int w = h.width;
    const Channel red(h.masks[0]), green(h.masks[1]), blue(h.masks[2]), alpha(h.masks[3]);
    for (int y = 0; y < h.height; ++y) {
        const std::size_t row =
            h.topDown ? static_cast<std::size_t>(y) : static_cast<std::size_t>(h.height - 1 - y);
        const std::uint8_t *s = bits + row * stride;
        QRgb *d = image.Row(y);
        switch (h.bitCount) {
        case 1:
            for (int x = 0; x < w; ++x)
                d[x] = table[(s[x >> 3] >> (7 - (x & 7))) & 1];
            break;
        case 4:
            for (int x = 0; x < w; ++x)
                d[x] = table[(x & 1) ? (s[x >> 1] & 0x0F) : (s[x >> 1] >> 4)];
            break;
        case 8:
            for (int x = 0; x < w; ++x)
                d[x] = table[s[x]];
            break;
        case 24:
            for (int x = 0; x < w; ++x, s += 3)
                d[x] = qRgb(s[2], s[1], s[0]);
            break;
        case 16:
        case 32:
            for (int x = 0; x < w; ++x) {
                const std::uint32_t v = h.bitCount == 16 ? Le16(s + 2 * x) : Le32(s + 4 * x);
                if (!bitfields) {
                    d[x] = v; // B, G, R and the fourth byte, which icons use as alpha
                } else {
                    const int a = alpha.width ? alpha.Value(v) : 255;
                    d[x] = qRgba(red.Value(v), green.Value(v), blue.Value(v), a);
                }
            }
            break;
        default:
            std::fill(d, d + w, QRgb{0}); // no depth the header check lets through
            break;
        }
    }
}

// RLE8 and RLE4: runs and absolute stretches from the bottom row up; runs that leave a row or the
// image are cut, skipped pixels stay transparent.
void DecodeRle(const DibHeader &h, std::span<const std::byte> data, const std::array<QRgb, 256> &table,
               Pixels &image) {
    const bool four = h.compression == BiRle4;
    ByteReader r(data);
    std::int64_t x = 0, y = 0;
    auto put = [&](std::int64_t px, std::uint8_t index) {
        if (px < h.width) image.Row(static_cast<int>(h.height - 1 - y))[px] = table[index];
    };
    while (r.remaining() >= 2 && y < h.height) {
        const std::uint8_t count = r.u8();
        const std::uint8_t value = r.u8();
        if (count > 0) {
            const std::int64_t n = std::min<std::int64_t>(count, std::max<std::int64_t>(0, h.width - x));
            for (std::int64_t i = 0; i < n; ++i)
                put(x + i, four ? ((i & 1) ? (value & 0x0F) : (value >> 4)) : value);
            x += count;
            continue;
        }
        switch (value) {
        case 0: // end of line
            x = 0;
            ++y;
            break;
        case 1: // end of bitmap
            return;
        case 2: // delta
            x += r.u8();
            y += r.u8();
            break;
        default: { // absolute: `value` pixels, padded to a 16-bit boundary
            const std::size_t bytes = four ? (value + 1u) / 2u : value;
            const auto run = r.take(bytes);
            r.skip(std::min<std::size_t>(bytes & 1u, r.remaining()));
            const auto *p = reinterpret_cast<const std::uint8_t *>(run.data());
            const std::int64_t n = std::min<std::int64_t>(value, std::max<std::int64_t>(0, h.width - x));
            for (std::int64_t i = 0; i < n; ++i)
                put(x + i, four ? ((i & 1) ? (p[i / 2] & 0x0F) : (p[i / 2] >> 4)) : p[i]);
            x += value;
            break;
        }
        }
    }
}
} // namespace

std::size_t DibHeader::Stride() const {
    return ((static_cast<std::size_t>(width) * bitCount + 31u) / 32u) * 4u;
}

DibHeader ReadDibHeader(std::span<const std::byte> info) {
    ByteReader r(info);
    DibHeader h;
    h.headerSize = r.u32();
    std::int64_t height = 0;
    if (h.headerSize == kCoreHeaderSize) {
        h.width = r.u16();
        height = r.u16();
        r.u16(); // planes
        h.bitCount = r.u16();
        h.colorEntrySize = 3;
        if (h.bitCount <= 8) h.colorCount = 1u << h.bitCount;
    } else if (h.headerSize >= kInfoHeaderSize) {
        h.width = r.i32();
        height = r.i32();
        r.u16(); // planes
        h.bitCount = r.u16();
        h.compression = r.u32();
        h.sizeImage = r.u32();
        r.skip(8); // resolution
        const std::uint32_t used = r.u32();
        r.u32(); // important colours
        // As the platform sizes the table: the count given, at most 256; all that the depth
        // allows when the count is 0.
        h.colorCount = std::min<std::uint32_t>(used, 256);
        if (used == 0 && h.bitCount <= 8) h.colorCount = 1u << h.bitCount;
    } else {
        ErrorReport::invalidPicture();
    }
    r.seek(h.headerSize);

    if (h.compression == BiBitfields || h.compression == BiAlphaBitfields) {
        if (h.bitCount != 16 && h.bitCount != 32) ErrorReport::invalidPicture();
        // Masks sit inside V2 and later headers and after a plain info header.
        const std::size_t maskAt = kInfoHeaderSize;
        const bool alphaInHeader = h.headerSize >= kInfoHeaderSize + 16;
        const bool alphaAfter = h.headerSize == kInfoHeaderSize && h.compression == BiAlphaBitfields;
        const ByteReader masks = r.sub(maskAt, (alphaInHeader || alphaAfter) ? 16 : 12);
        for (std::size_t i = 0; i < 3; ++i)
            h.masks[i] = masks.u32At(i * 4);
        if (alphaInHeader || alphaAfter) {
            h.masks[3] = masks.u32At(12);
            h.alphaMask = h.masks[3] != 0;
        }
        if (h.headerSize == kInfoHeaderSize) r.seek(maskAt + (alphaAfter ? 16 : 12));
    } else if (h.compression == BiRgb) {
        if (!ValidBitCount(h.bitCount)) ErrorReport::invalidPicture();
    } else if (h.compression == BiRle8) {
        if (h.bitCount != 8) ErrorReport::invalidPicture();
    } else if (h.compression == BiRle4) {
        if (h.bitCount != 4) ErrorReport::invalidPicture();
    } else if (h.compression != BiJpeg && h.compression != BiPng) {
        ErrorReport::invalidPicture();
    }

    h.topDown = height < 0;
    if (h.topDown) height = -height;
    if (h.topDown && (h.compression == BiRle8 || h.compression == BiRle4))
        ErrorReport::invalidPicture(); // never top-down
    if (h.width <= 0 || height <= 0 || h.width > kDibMaxSide || height > 2 * std::int64_t{kDibMaxSide})
        ErrorReport::invalidPicture();
    h.height = static_cast<std::int32_t>(height);

    h.colorTableOffset = r.pos();
    const std::size_t entrySize = h.colorEntrySize;
    h.infoSize = h.colorTableOffset + std::size_t{h.colorCount} * entrySize;
    return h;
}

DecodedDib DecodeDib(std::span<const std::byte> info, std::span<const std::byte> bits,
                     const DibOptions &options) {
    DecodedDib out;
    DibHeader &h = out.header;
    h = ReadDibHeader(info);
    if (options.iconHalves) h.height /= 2;
    if (h.height <= 0 || h.height > kDibMaxSide || std::int64_t{h.width} * h.height > kDibMaxPixels)
        ErrorReport::invalidPicture();

    // Table entries are 2-byte indices for DIB_PAL_COLORS.
    DibHeader tableLayout = h;
    if (options.paletteIndices) tableLayout.colorEntrySize = 2;
    // Reading the table checks that it lies inside the data.
    const auto table = ReadColorTable(tableLayout, info, options);

    if (h.compression == BiJpeg || h.compression == BiPng) {
        const std::size_t size =
            h.sizeImage != 0 ? std::min<std::size_t>(h.sizeImage, bits.size()) : bits.size();
        if (h.compression == BiPng) {
            out.image = DecodePng(bits.first(size), &out.hasAlpha);
        } else {
            if (!options.decodeJpeg) ErrorReport::invalidPicture();
            out.image = options.decodeJpeg(bits.first(size));
        }
        out.bitsEnd = size;
        return out;
    }
    if (h.compression == BiRle8 || h.compression == BiRle4) {
        std::size_t size = bits.size();
        if (h.sizeImage != 0 && h.sizeImage < size) size = h.sizeImage;
        out.image = NewImage(h);
        DecodeRle(h, bits.first(size), table, out.image);
        out.bitsEnd = size;
        return out;
    }

    const std::size_t total = CheckedMul<std::size_t>(h.Stride(), static_cast<std::size_t>(h.height));
    const auto data = ByteReader(bits).spanAt(0, total);
    // Every pixel is written below.
    out.image = Pixels::Unfilled(h.width, h.height);
    bool bitfields = h.compression == BiBitfields || h.compression == BiAlphaBitfields;
    if (h.bitCount == 16 && !bitfields) {
        // 16 bits without masks are 5-5-5, the top bit unused.
        h.masks = {0x7C00, 0x03E0, 0x001F, 0};
        bitfields = true;
    }
    DecodeRows(h, reinterpret_cast<const std::uint8_t *>(data.data()), table, bitfields, out.image);
    out.hasAlpha = (h.bitCount == 32 && h.compression == BiRgb) || (bitfields && h.alphaMask);
    out.bitsEnd = total;
    return out;
}

DecodedDib DecodePackedDib(std::span<const std::byte> packed, const DibOptions &options) {
    DibHeader h = ReadDibHeader(packed);
    if (options.paletteIndices) h.infoSize = h.colorTableOffset + std::size_t{h.colorCount} * 2;
    const ByteReader r(packed);
    if (!r.contains(h.infoSize, 0)) ErrorReport::outOfRange();
    return DecodeDib(packed, packed.subspan(h.infoSize), options);
}

DecodedDib DecodeBmpFile(std::span<const std::byte> file, const DibOptions &options) {
    ByteReader r(file);
    if (r.u16() != 0x4D42) ErrorReport::invalidPicture(); // "BM"
    r.u32();                                              // file size, unreliable in practice
    r.u32();                                              // reserved
    const std::uint32_t bitsOffset = r.u32();
    const auto info = file.subspan(r.pos());
    const DibHeader h = ReadDibHeader(info);
    // The offset says where the bits are; a zero offset means right after the colour table.
    const std::size_t at = bitsOffset != 0 ? bitsOffset : r.pos() + h.infoSize;
    if (!r.contains(at, 0)) ErrorReport::outOfRange();
    return DecodeDib(info, file.subspan(at), options);
}
