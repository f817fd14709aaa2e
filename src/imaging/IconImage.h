#pragma once
// One icon or cursor image as the window draws it: IconPixels made into images.
#include "imaging/IconPixels.h"

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <cstddef>
#include <cstdint>
#include <span>

class QPainter;

struct IconImage {
    QImage image; // ARGB32 with the transparency that mask or alpha give
    // The pixels that the mask leaves out but whose colour is not black: the platform draws
    // them by XOR onto what lies behind (white inverts it). ARGB32, opaque where such a pixel
    // is, clear elsewhere; null when there is none.
    QImage screenXor;
    bool cursor = false;
    QPoint hotspot;             // cursors only: kept, never drawn
    QByteArray imageBytes;      // the image as stored (DIB with mask, or PNG), without the hotspot
    std::uint16_t bitCount = 0; // colour depth of the stored image (32 for PNG)
};

// The icon that DecodeIconResourcePixels and DecodeIconPixels decode, as images.
IconImage WindowIcon(IconPixels pixels);
IconImage DecodeIconResource(std::span<const std::byte> data, bool cursor);
IconImage DecodeIconImage(std::span<const std::byte> image, bool cursor, QPoint hotspot);

// Draws an icon as the platform does: `image` over what is there, then the `screenXor` pixels
// XOR-ed onto it.
void DrawIconImage(QPainter &painter, QPoint at, const QImage &image, const QImage &screenXor);
