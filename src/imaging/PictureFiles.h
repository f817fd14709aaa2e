#pragma once
// The picture's own file forms, as the platform's picture saver writes them.
#include <QByteArray>
#include <QImage>

struct IconImage;

// A standard BMP file: BITMAPFILEHEADER, BITMAPINFOHEADER and 24-bit rows, bottom-up; the image
// is written opaque, as a bitmap is drawn.
QByteArray BmpFileBytes(const QImage &image);
// A standard icon file (or cursor file, for a cursor, with its hotspot in the directory entry)
// holding the one image with its stored bytes unchanged.
QByteArray IconFileBytes(const IconImage &icon);
