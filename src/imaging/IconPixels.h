#pragma once
// One icon or cursor image as resources (types 3 and 1) and icon files store it, decoded without
// Qt Gui: a DIB whose height counts the colour rows and the AND mask, or a PNG file (256 x 256
// icons); a cursor image is preceded by its hotspot.
#include "imaging/Pixels.h"

#include <QByteArray>
#include <QPoint>
#include <cstddef>
#include <cstdint>
#include <span>

struct IconPixels {
    Pixels image; // with the transparency that mask or alpha give
    // The pixels that the mask leaves out but whose colour is not black: the platform draws them
    // by XOR onto what lies behind (white inverts it). Opaque where such a pixel is, clear
    // elsewhere; null when there is none.
    Pixels screenXor;
    bool cursor = false;
    QPoint hotspot;             // cursors only: kept, never drawn
    QByteArray imageBytes;      // the image as stored (DIB with mask, or PNG), without the hotspot
    std::uint16_t bitCount = 0; // colour depth of the stored image (32 for PNG)
};

// Decodes the data of an icon (cursor = false) or cursor resource (cursor = true: the first four
// bytes are the hotspot x and y). Raises code 9 for data cut short and the invalid-picture failure
// (481) for an image that cannot be made.
IconPixels DecodeIconResourcePixels(std::span<const std::byte> data, bool cursor);
// Decodes an image without a hotspot prefix (as an icon or cursor file holds it).
IconPixels DecodeIconPixels(std::span<const std::byte> image, bool cursor, QPoint hotspot);
