#pragma once
// Device-independent bitmaps as Windows stores them in resources, icons, metafiles and BMP files:
// a header (core, info, V4 or V5), optional bit masks, a colour table and the pixel bits.
#include "imaging/Pixels.h"

#include <QRgb>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <utility>

// Compression values of the info headers.
enum DibCompression : std::uint32_t {
    BiRgb = 0,
    BiRle8 = 1,
    BiRle4 = 2,
    BiBitfields = 3,
    BiJpeg = 4,
    BiPng = 5,
    BiAlphaBitfields = 6,
};

// The decoder makes no image with a side above this (the picture pane's 16-bit limit) nor with more
// pixels than kDibMaxPixels (256 MB of colour), whatever a header claims.
constexpr std::int32_t kDibMaxSide = 32767;
constexpr std::int64_t kDibMaxPixels = std::int64_t{64} << 20;

struct DibHeader {
    std::uint32_t headerSize = 0;
    std::int32_t width = 0;
    std::int32_t height = 0; // rows, always positive; topDown tells their order
    bool topDown = false;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = BiRgb;
    std::uint32_t sizeImage = 0;
    std::uint32_t colorCount = 0;         // entries in the colour table
    std::uint32_t colorEntrySize = 4;     // RGBQUAD; RGBTRIPLE (3) after a core header
    std::array<std::uint32_t, 4> masks{}; // red, green, blue, alpha, for bit-field images
    bool alphaMask = false;               // masks[3] is given by the header
    std::size_t colorTableOffset = 0;
    std::size_t infoSize = 0; // header, masks and colour table: where the bits of a packed DIB begin

    // Bytes per row of uncompressed bits: rows are padded to 32 bits.
    std::size_t Stride() const;
};

// Reads the header, masks and colour-table size at the start of `info`. Raises code 9 when the data
// is cut short and the invalid-picture failure (481) when it describes no image that can be made.
DibHeader ReadDibHeader(std::span<const std::byte> info);

struct DibOptions {
    // DIB_PAL_COLORS (metafiles): the colour table holds 16-bit indices into `palette`.
    bool paletteIndices = false;
    std::span<const QRgb> palette;
    // Colour-table entries replaced as they are read (the loader's 3D-colour mapping).
    std::span<const std::pair<QRgb, QRgb>> substitutions;
    // An icon image: the header's height counts the colour rows and the AND mask below them.
    bool iconHalves = false;
    // Decodes the JPEG of a JPEG-compressed DIB (the window's image readers do); without it such a
    // DIB is an invalid picture.
    std::function<Pixels(std::span<const std::byte>)> decodeJpeg;
};

struct DecodedDib {
    // Not premultiplied. Alpha as stored for 32-bit and alpha-mask images (hasAlpha), else opaque;
    // pixels an RLE image skips are transparent.
    Pixels image;
    bool hasAlpha = false;
    DibHeader header;
    std::size_t bitsEnd = 0; // offset in the bits after the colour rows (an icon's mask follows)
};

// Decodes a DIB whose header and colour table are in `info` and whose bits are `bits`.
DecodedDib DecodeDib(std::span<const std::byte> info, std::span<const std::byte> bits,
                     const DibOptions &options = {});
// Decodes a packed DIB: header, colour table and bits one after the other.
DecodedDib DecodePackedDib(std::span<const std::byte> packed, const DibOptions &options = {});
// Decodes a BMP file: the file header, then a DIB whose bits lie at the header's offset.
DecodedDib DecodeBmpFile(std::span<const std::byte> file, const DibOptions &options = {});
