#include "imaging/PixelsImage.h"

#include <cstring>

QImage ImageOf(Pixels pixels) {
    if (pixels.isNull()) return {};
    // The image keeps the pixels alive and lets them go with its last copy.
    auto *kept = new Pixels(std::move(pixels));
    return QImage(
        reinterpret_cast<uchar *>(kept->argb.data()), kept->width, kept->height,
        static_cast<qsizetype>(kept->width) * 4, QImage::Format_ARGB32,
        [](void *info) { delete static_cast<Pixels *>(info); }, kept);
}

QImage OpaqueImageOf(Pixels pixels) {
    for (QRgb &p : pixels.argb)
        p |= 0xFF000000u;
    QImage image = ImageOf(std::move(pixels));
    image.reinterpretAsFormat(QImage::Format_RGB32);
    return image;
}

Pixels PixelsOf(const QImage &image) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    Pixels pixels = Pixels::Unfilled(argb.width(), argb.height());
    for (int y = 0; y < argb.height(); ++y)
        std::memcpy(pixels.Row(y), argb.constScanLine(y), static_cast<std::size_t>(argb.width()) * 4);
    return pixels;
}
