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
    return OpaqueImageOf(DecodePackedDib(dib, options).image);
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
