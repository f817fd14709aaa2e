#include "imaging/PictureFile.h"

#include "imaging/Dib.h"
#include "imaging/EncodedImage.h"
#include "imaging/ImageLoader.h"
#include "imaging/PixelsImage.h"
#include "imaging/RasterPicture.h"
#include "imaging/metafile/MetafilePicture.h"
#include "pe/ByteReader.h"
#include "system/ErrorReport.h"

namespace {
std::shared_ptr<Picture> Load(std::span<const std::byte> data) {
    const ByteReader r(data);
    if (r.contains(0, 2) && r.u16At(0) == 0x4D42) { // "BM"
        // Drawn as a bitmap: 32-bit pixels opaque, skipped RLE pixels black.
        DibOptions options;
        options.decodeJpeg = DecodeJpegPixels;
        return std::make_shared<RasterPicture>(OpaqueImageOf(DecodeBmpFile(data, options).image),
                                               Picture::Bitmap);
    }
    if (r.contains(0, 4) && r.u16At(0) == 0 && (r.u16At(2) == 1 || r.u16At(2) == 2))
        return std::make_shared<RasterPicture>(LoadIconFile(data));
    if (LooksLikeMetafile(data)) {
        return std::make_shared<MetafilePicture>(
            QByteArray(reinterpret_cast<const char *>(data.data()), static_cast<qsizetype>(data.size())));
    }
    // Of the formats Qt's readers know, only those the platform's loader reads.
    const QByteArray format = DetectImageFormat(data);
    if (format != "jpeg" && format != "gif") ErrorReport::invalidPicture();
    return std::make_shared<RasterPicture>(DecodeEncodedImage(data, format), Picture::Bitmap);
}
} // namespace

std::shared_ptr<Picture> LoadPictureFromData(std::span<const std::byte> data) {
    try {
        return Load(data);
    } catch (const ErrorReport &) {
        // Whatever went wrong inside, the loader's answer is that this is no picture.
        ErrorReport::invalidPicture();
    }
}
