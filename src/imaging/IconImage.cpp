#include "imaging/IconImage.h"

#include "imaging/PixelsImage.h"

#include <QPainter>
#include <QRegion>
#include <algorithm>
#include <vector>

namespace {
// The opaque pixels of an image as a region: one rectangle per run of a row, in the banded order
// that QRegion::setRects takes.
QRegion OpaqueRegion(const QImage &image, QPoint at) {
    std::vector<QRect> runs;
    const int width = image.width();
    for (int y = 0; y < image.height(); ++y) {
        const auto *p = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < width;) {
            if (qAlpha(p[x]) == 0) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < width && qAlpha(p[x]) != 0)
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

IconImage WindowIcon(IconPixels pixels) {
    return {ImageOf(std::move(pixels.image)),
            ImageOf(std::move(pixels.screenXor)),
            pixels.cursor,
            pixels.hotspot,
            std::move(pixels.imageBytes),
            pixels.bitCount};
}

IconImage DecodeIconImage(std::span<const std::byte> image, bool cursor, QPoint hotspot) {
    return WindowIcon(DecodeIconPixels(image, cursor, hotspot));
}

IconImage DecodeIconResource(std::span<const std::byte> data, bool cursor) {
    return WindowIcon(DecodeIconResourcePixels(data, cursor));
}
