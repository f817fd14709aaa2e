#include "imaging/IconImage.h"

#include "imaging/Dib.h"
#include "imaging/EncodedImage.h"
#include "pe/ByteReader.h"
#include "system/ErrorReport.h"

#include <QPainter>
#include <QRegion>
#include <algorithm>
#include <cstring>
#include <vector>

namespace {
constexpr unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

bool IsPng(std::span<const std::byte> data) {
    return data.size() >= sizeof kPngSignature &&
           std::memcmp(data.data(), kPngSignature, sizeof kPngSignature) == 0;
}

bool AnyAlpha(const QImage &image) {
    for (int y = 0; y < image.height(); ++y) {
        const auto *p = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(p[x]) != 0) return true;
    }
    return false;
}

// The AND mask: one bit per pixel, rows padded to 32 bits, in the colour rows' order; a set bit
// is a transparent pixel, or one that XORs the screen when its colour is not black. Returns those
// XOR pixels (null when there is none).
QImage ApplyMask(QImage &image, std::span<const std::byte> mask, bool topDown) {
    const int w = image.width(), h = image.height();
    const std::size_t stride = ((static_cast<std::size_t>(w) + 31u) / 32u) * 4u;
    QImage screenXor;
    for (int y = 0; y < h; ++y) {
        const std::size_t row = topDown ? static_cast<std::size_t>(y) : static_cast<std::size_t>(h - 1 - y);
        const auto *m = reinterpret_cast<const std::uint8_t *>(mask.data()) + row * stride;
        auto *p = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const bool transparent = (m[x >> 3] >> (7 - (x & 7))) & 1;
            if (transparent && (p[x] & 0x00FFFFFFu) != 0) {
                if (screenXor.isNull()) {
                    screenXor = QImage(w, h, QImage::Format_ARGB32);
                    screenXor.fill(Qt::transparent);
                }
                reinterpret_cast<QRgb *>(screenXor.scanLine(y))[x] = p[x] | 0xFF000000u;
            }
            p[x] = transparent ? (p[x] & 0x00FFFFFFu) : (p[x] | 0xFF000000u);
        }
    }
    return screenXor;
}

// The opaque pixels of an image as a region: one rectangle per run of a row, in the banded order
// that QRegion::setRects takes.
QRegion OpaqueRegion(const QImage &image, QPoint at) {
    std::vector<QRect> runs;
    for (int y = 0; y < image.height(); ++y) {
        const auto *p = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width();) {
            if (qAlpha(p[x]) == 0) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < image.width() && qAlpha(p[x]) != 0)
                ++x;
            runs.emplace_back(at.x() + start, at.y() + y, x - start, 1);
        }
    }
    QRegion region;
    region.setRects(runs.data(), static_cast<int>(runs.size()));
    return region;
}
} // namespace

void DrawIconImage(QPainter &painter, QPoint at, const QImage &image, const QImage &screenXor) {
    painter.drawImage(at, image);
    if (screenXor.isNull()) return;
    painter.save();
    // Only the XOR pixels are touched: elsewhere what is behind stays exactly as it was.
    painter.setClipRegion(OpaqueRegion(screenXor, at), Qt::IntersectClip);
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.drawImage(at, screenXor);
    painter.restore();
}

IconImage DecodeIconImage(std::span<const std::byte> image, bool cursor, QPoint hotspot) {
    IconImage out;
    out.cursor = cursor;
    out.hotspot = hotspot;
    out.imageBytes =
        QByteArray(reinterpret_cast<const char *>(image.data()), static_cast<qsizetype>(image.size()));
    if (IsPng(image)) {
        out.image = DecodeEncodedImage(image, "png");
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

IconImage DecodeIconResource(std::span<const std::byte> data, bool cursor) {
    if (!cursor) return DecodeIconImage(data, false, {});
    ByteReader r(data);
    const int x = r.u16();
    const int y = r.u16();
    return DecodeIconImage(data.subspan(r.pos()), true, QPoint(x, y));
}
