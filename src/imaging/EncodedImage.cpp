#include "imaging/EncodedImage.h"

#include "imaging/Dib.h"
#include "imaging/PixelsImage.h"
#include "system/ErrorReport.h"

#include <QBuffer>
#include <QImageReader>

namespace {
QByteArray Wrap(std::span<const std::byte> data) {
    // No copy: the reader only looks at the bytes while the call runs.
    return QByteArray::fromRawData(reinterpret_cast<const char *>(data.data()),
                                   static_cast<qsizetype>(data.size()));
}
} // namespace

QByteArray DetectImageFormat(std::span<const std::byte> data) {
    QByteArray bytes = Wrap(data);
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::ReadOnly)) return {};
    return QImageReader::imageFormat(&buffer);
}

QImage DecodeEncodedImage(std::span<const std::byte> data, const QByteArray &format) {
    QByteArray bytes = Wrap(data);
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::ReadOnly)) ErrorReport::invalidPicture();
    QImageReader reader(&buffer, format);
    reader.setAutoTransform(false);
    // The size comes from the file's header; nothing is allocated for an image beyond the limits.
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kDibMaxSide || size.height() > kDibMaxSide ||
        std::int64_t{size.width()} * size.height() > kDibMaxPixels)
        ErrorReport::invalidPicture();
    QImage image;
    if (!reader.read(&image) || image.isNull()) ErrorReport::invalidPicture();
    if (image.width() > kDibMaxSide || image.height() > kDibMaxSide) ErrorReport::invalidPicture();
    return image.convertToFormat(QImage::Format_ARGB32);
}

Pixels DecodeJpegPixels(std::span<const std::byte> data) {
    return PixelsOf(DecodeEncodedImage(data, "jpeg"));
}
