// Colours and DIBs as metafile records carry them.
#include "imaging/Dib.h"
#include "imaging/EncodedImage.h"
#include "imaging/PixelsImage.h"
#include "imaging/metafile/MetafileRecords.h"
#include "system/ErrorReport.h"

namespace {
QImage Finish(DecodedDib decoded, bool keepAlpha) {
    // Blits copy 32-bit pixels whole: their fourth byte is not transparency.
    if (decoded.hasAlpha && !keepAlpha)
        for (QRgb &p : decoded.image.argb)
            p |= 0xFF000000u;
    return ImageOf(std::move(decoded.image));
}
} // namespace

QRgb ColorRefToRgb(std::uint32_t value, const GdiPlayer &player) {
    if ((value >> 24) == 1) {
        const auto entries = player.PaletteEntries();
        const std::size_t index = value & 0xFFFFu;
        return index < entries.size() ? entries[index] : qRgb(0, 0, 0);
    }
    return qRgb(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>((value >> 16) & 0xFF));
}

QImage MetafileDib(std::span<const std::byte> info, std::span<const std::byte> bits, bool paletteIndices,
                   const GdiPlayer &player, bool keepAlpha) {
    try {
        const std::vector<QRgb> palette = paletteIndices ? player.PaletteEntries() : std::vector<QRgb>{};
        DibOptions options;
        options.paletteIndices = paletteIndices;
        options.palette = palette;
        options.decodeJpeg = DecodeJpegPixels;
        return Finish(DecodeDib(info, bits, options), keepAlpha);
    } catch (const ErrorReport &) {
        return {};
    }
}

QImage MetafilePackedDib(std::span<const std::byte> packed, bool paletteIndices, const GdiPlayer &player) {
    try {
        const std::vector<QRgb> palette = paletteIndices ? player.PaletteEntries() : std::vector<QRgb>{};
        DibOptions options;
        options.paletteIndices = paletteIndices;
        options.palette = palette;
        options.decodeJpeg = DecodeJpegPixels;
        return Finish(DecodePackedDib(packed, options), false);
    } catch (const ErrorReport &) {
        return {};
    }
}
