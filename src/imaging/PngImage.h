#pragma once
// PNG images read and written with libpng alone, so that the programs without Qt Gui read the PNG
// images of icons and write their thumbnails as the window reads them.
#include "formats/IconImageShape.h" // IsPng
#include "imaging/Pixels.h"

#include <QByteArray>
#include <cstddef>
#include <span>

// The image as 8-bit ARGB, whatever its colour type and depth; `hasAlpha` tells whether the file
// gives it an alpha channel (or a transparent colour). Raises the invalid-picture failure (481) for
// data that is no PNG, is cut short, or is larger than the DIB decoder's limits.
Pixels DecodePng(std::span<const std::byte> data, bool *hasAlpha = nullptr);
// A PNG file of the pixels, with their alpha; empty when it cannot be made.
QByteArray EncodePng(const Pixels &pixels);
