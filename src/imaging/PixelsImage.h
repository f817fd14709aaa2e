#pragma once
// The decoders' pixels as the QImage the window draws, without a copy, and an image's pixels back.
#include "imaging/Pixels.h"

#include <QImage>

// ARGB32 over the pixels themselves; a null image for null pixels.
QImage ImageOf(Pixels pixels);
// The pixels as a bitmap is drawn, by copying them whole: the fourth byte of 32-bit pixels is not
// transparency, and the pixels an RLE image skips are the zero bits of a new bitmap, black. RGB32.
QImage OpaqueImageOf(Pixels pixels);
// The image's pixels in ARGB32, not premultiplied.
Pixels PixelsOf(const QImage &image);
