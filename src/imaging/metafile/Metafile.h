#pragma once
// Windows metafiles (WMF, with or without the placeable header) and enhanced metafiles (EMF):
// their size as the platform's picture loader gives it, and their playback through the one GDI
// playback engine.
#include <QRectF>
#include <cstddef>
#include <cstdint>
#include <span>

class QPainter;

struct MetafileInfo {
    bool enhanced = false;          // EMF; else WMF
    std::int32_t widthHimetric = 0; // 0.01 mm
    std::int32_t heightHimetric = 0;
};

// True when the data starts like a WMF (placeable or not) or an EMF.
bool LooksLikeMetafile(std::span<const std::byte> data);
// The metafile's kind and size: the placeable header's box in its units per inch, the EMF's
// frame, or for a WMF without placeable header its first window extent in screen pixels. Raises
// the invalid-picture failure (481) when the data is not a metafile that can be sized.
MetafileInfo ReadMetafileInfo(std::span<const std::byte> data);
// Plays the metafile onto the rectangle `dest` of the painter. Records that are not drawn are
// skipped; a record that runs past the end, or the record limit, ends playback. Never fails.
void PlayMetafile(std::span<const std::byte> data, QPainter &painter, const QRectF &dest);
