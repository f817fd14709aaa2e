#pragma once
// The record readers of the two metafile kinds, each driving the GDI playback engine. Internal to
// the metafile code (Metafile.cpp uses them).
#include "imaging/metafile/gdi/GdiPlayer.h"

#include <QImage>
#include <QRegion>
#include <cstddef>
#include <cstdint>
#include <span>

// Records a single playback reads at most: a metafile cannot keep the viewer busy for ever.
constexpr std::size_t kMaxMetafileRecords = 1'000'000;

// The WMF records from `recordsAt` to the end record; `objectLimit` is the header's object count.
void PlayWmfRecords(std::span<const std::byte> data, std::size_t recordsAt, std::uint16_t objectLimit,
                    GdiPlayer &player);
// The EMF records after the header, to the end record.
void PlayEmfRecords(std::span<const std::byte> data, GdiPlayer &player);

// A COLORREF: 0x00BBGGRR, or an index into the selected palette when the top byte is 1.
QRgb ColorRefToRgb(std::uint32_t value, const GdiPlayer &player);
// A DIB of a blit or pattern brush: header and colour table in `info`, bits in `bits`; 32-bit
// pixels drawn opaque unless `keepAlpha`. Null when it cannot be decoded.
QImage MetafileDib(std::span<const std::byte> info, std::span<const std::byte> bits, bool paletteIndices,
                   const GdiPlayer &player, bool keepAlpha = false);
QImage MetafilePackedDib(std::span<const std::byte> packed, bool paletteIndices, const GdiPlayer &player);
