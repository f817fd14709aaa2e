#pragma once
// Images stored in a file format of their own (PNG in icons and DIBs, JPEG and GIF files), read by
// Qt's image readers with the same size limits as the DIB decoder.
#include "imaging/Pixels.h"

#include <QByteArray>
#include <QImage>
#include <cstddef>
#include <span>

// The format Qt's readers recognise in the data ("png", "jpeg", "gif", ...), empty when none.
QByteArray DetectImageFormat(std::span<const std::byte> data);
// Decodes the data as `format` (detected from the data when empty) into ARGB32. Raises the
// invalid-picture failure when the data does not decode or the image is larger than the limits.
QImage DecodeEncodedImage(std::span<const std::byte> data, const QByteArray &format = {});
// A JPEG as a JPEG-compressed DIB holds it, for DibOptions::decodeJpeg.
Pixels DecodeJpegPixels(std::span<const std::byte> data);
