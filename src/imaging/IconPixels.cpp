#include "imaging/IconPixels.h"

#include "imaging/Dib.h"
#include "imaging/PngImage.h"
#include "pe/ByteReader.h"
#include "system/ErrorReport.h"

namespace {
bool AnyAlpha(const Pixels &image) {
    for (const QRgb p : image.argb)
        if (qAlpha(p) != 0) return true;
    return false;
}

// The AND mask: one bit per pixel, rows padded to 32 bits, in the colour rows' order; a set bit
// is a transparent pixel, or one that XORs the screen when its colour is not black. Returns those
// XOR pixels (null when there is none).
Pixels ApplyMask(Pixels &image, std::span<const std::byte> mask, bool topDown) {
    const int w = image.width, h = image.height;
    const std::size_t stride = ((static_cast<std::size_t>(w) + 31u) / 32u) * 4u;
    Pixels screenXor;
    for (int y = 0; y < h; ++y) {
        const std::size_t row = topDown ? static_cast<std::size_t>(y) : static_cast<std::size_t>(h - 1 - y);
        const auto *m = reinterpret_cast<const std::uint8_t *>(mask.data()) + row * stride;
        QRgb *p = image.Row(y);
        for (int x = 0; x < w; ++x) {
            const bool transparent = (m[x >> 3] >> (7 - (x & 7))) & 1;
            if (transparent && (p[x] & 0x00FFFFFFu) != 0) {
                if (screenXor.isNull()) screenXor = Pixels(w, h);
                screenXor.Row(y)[x] = p[x] | 0xFF000000u;
            }
            p[x] = transparent ? (p[x] & 0x00FFFFFFu) : (p[x] | 0xFF000000u);
        }
    }
    return screenXor;
}
} // namespace

IconPixels DecodeIconPixels(std::span<const std::byte> image, bool cursor, QPoint hotspot) {
    IconPixels out;
    out.cursor = cursor;
    out.hotspot = hotspot;
    out.imageBytes =
        QByteArray(reinterpret_cast<const char *>(image.data()), static_cast<qsizetype>(image.size()));
    if (IsPng(image)) {
        out.image = DecodePng(image);
        out.bitCount = 32;
        return out;
    }

    DibOptions options;
    options.iconHalves = true;
    DecodedDib dib = DecodePackedDib(image, options);
    const DibHeader &h = dib.header;
    // Icon images are never compressed: the mask's place depends on the colour bits' size.
    if (h.compression != BiRgb && h.compression != BiBitfields && h.compression != BiAlphaBitfields)
        ErrorReport::invalidPicture();
    out.bitCount = h.bitCount;

    const ByteReader bits(image.subspan(h.infoSize));
    const std::size_t maskSize =
        ((static_cast<std::size_t>(h.width) + 31u) / 32u) * 4u * static_cast<std::size_t>(h.height);
    // A 32-bit image draws through its alpha channel; when that is all zero, the platform falls
    // back to the mask as for any other depth.
    if (dib.hasAlpha && AnyAlpha(dib.image)) {
        out.image = std::move(dib.image);
        return out;
    }
    out.screenXor = ApplyMask(dib.image, bits.spanAt(dib.bitsEnd, maskSize), h.topDown);
    out.image = std::move(dib.image);
    return out;
}

IconPixels DecodeIconResourcePixels(std::span<const std::byte> data, bool cursor) {
    if (!cursor) return DecodeIconPixels(data, false, {});
    ByteReader r(data);
    const int x = r.u16();
    const int y = r.u16();
    return DecodeIconPixels(data.subspan(r.pos()), true, QPoint(x, y));
}
