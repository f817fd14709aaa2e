#include "imaging/ImageLoader.h"

#include "formats/IconDirectory.h"
#include "imaging/Dib.h"
#include "imaging/EncodedImage.h"
#include "imaging/PixelsImage.h"
#include "pe/ByteReader.h"
#include "system/ErrorReport.h"

QImage LoadBitmapResource(std::span<const std::byte> dib, const SystemColours &colours) {
    const std::array<std::pair<QRgb, QRgb>, 3> mapping{{{qRgb(128, 128, 128), colours.shadow3D},
                                                        {qRgb(192, 192, 192), colours.face3D},
                                                        {qRgb(223, 223, 223), colours.light3D}}};
    DibOptions options;
    options.substitutions = mapping;
    options.decodeJpeg = DecodeJpegPixels;
    DecodedDib decoded = DecodePackedDib(dib, options);
    // A bitmap is drawn by copying its pixels: the fourth byte of 32-bit pixels is not alpha, and
    // pixels an RLE image skips are the zero bits of a new bitmap, black.
    QImage image = ImageOf(std::move(decoded.image));
    for (int y = 0; y < image.height(); ++y) {
        auto *p = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            p[x] |= 0xFF000000u;
    }
    image.reinterpretAsFormat(QImage::Format_RGB32);
    return image;
}

IconImage LoadIconGroup(std::span<const std::byte> group, bool cursor, const IconImageLookup &lookup) {
    const IconDirectory directory = ReadGroupDirectory(group, cursor);
    const auto chosen = ChooseIconEntry(directory);
    if (!chosen) ErrorReport::invalidPicture();
    const auto data = lookup(static_cast<std::uint16_t>(directory.entries[*chosen].idOrOffset));
    if (!data || data->empty()) ErrorReport::invalidPicture();
    return DecodeIconResource(*data, cursor);
}

IconImage LoadIconFile(std::span<const std::byte> file) {
    const IconDirectory directory = ReadIconFileDirectory(file);
    const auto chosen = ChooseIconEntry(directory);
    if (!chosen) ErrorReport::invalidPicture();
    const IconDirEntry &entry = directory.entries[*chosen];
    const auto image = ByteReader(file).spanAt(entry.idOrOffset, entry.bytes);
    return DecodeIconImage(image, directory.cursor, entry.hotspot);
}
