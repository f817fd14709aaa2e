// The DIB decoder over arbitrary bytes: as a packed DIB (plain, as an icon image, with palette
// indices and colour substitutions) and as a BMP file. Failures are raised, never crashes.
#include "imaging/Dib.h"
#include "imaging/EncodedImage.h"
#include "system/ErrorReport.h"

#include <array>
#include <cstdint>

namespace {
void Use(const DecodedDib &d) {
    // Touch every pixel, so that a row the decoder forgot to write shows under the sanitizers.
    unsigned sum = 0;
    for (int y = 0; y < d.image.height; ++y) {
        const QRgb *p = d.image.Row(y);
        for (int x = 0; x < d.image.width; ++x)
            sum += p[x];
    }
    static volatile unsigned sink;
    sink = sum;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const auto bytes = std::as_bytes(std::span(data, size));
    static const std::array<QRgb, 3> palette = {qRgb(1, 2, 3), qRgb(4, 5, 6), qRgb(7, 8, 9)};
    static const std::array<std::pair<QRgb, QRgb>, 1> substitutions = {
        {{qRgb(192, 192, 192), qRgb(1, 1, 1)}}};
    for (int mode = 0; mode < 4; ++mode) {
        try {
            DibOptions options;
            options.iconHalves = mode == 1;
            options.paletteIndices = mode == 2;
            options.palette = palette;
            options.substitutions = substitutions;
            options.decodeJpeg = DecodeJpegPixels;
            Use(mode == 3 ? DecodeBmpFile(bytes) : DecodePackedDib(bytes, options));
        } catch (const ErrorReport &) {
        }
    }
    return 0;
}
