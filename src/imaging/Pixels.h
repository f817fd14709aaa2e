#pragma once
// An image's pixels as the decoders make them, without Qt Gui: 32-bit ARGB values (QRgb), not
// premultiplied, rows from the top. The window turns them into a QImage without a copy
// (ImageOf); the thumbnailer, which links no more than Qt Core, uses them as they are.
#include <QRgb>
#include <cstddef>
#include <vector>

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<QRgb> argb; // width * height, row by row

    Pixels() = default;
    // All pixels clear (transparent black).
    Pixels(int w, int h)
        : width(w), height(h), argb(static_cast<std::size_t>(w) * static_cast<std::size_t>(h)) {}

    bool isNull() const { return argb.empty(); }
    QRgb *Row(int y) { return argb.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width); }
    const QRgb *Row(int y) const {
        return argb.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    }
};
