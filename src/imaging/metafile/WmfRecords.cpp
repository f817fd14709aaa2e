// WMF records: a size in 16-bit words, a function number and 16-bit parameters, most of them
// stored last-first (y before x, bottom before top).
#include "imaging/Dib.h"
#include "imaging/metafile/MetafileRecords.h"
#include "imaging/metafile/gdi/GdiCharsets.h"
#include "pe/ByteReader.h"
#include "system/ErrorReport.h"

#include <vector>

namespace {
enum : std::uint16_t {
    MetaEof = 0x0000,
    MetaRealizePalette = 0x0035,
    MetaSetPalEntries = 0x0037,
    MetaCreatePalette = 0x00F7,
    MetaSetBkMode = 0x0102,
    MetaSetMapMode = 0x0103,
    MetaSetRop2 = 0x0104,
    MetaSetPolyFillMode = 0x0106,
    MetaSetStretchBltMode = 0x0107,
    MetaSetTextCharExtra = 0x0108,
    MetaSaveDc = 0x001E,
    MetaRestoreDc = 0x0127,
    MetaInvertRegion = 0x012A,
    MetaPaintRegion = 0x012B,
    MetaSelectClipRegion = 0x012C,
    MetaSelectObject = 0x012D,
    MetaSetTextAlign = 0x012E,
    MetaDibCreatePatternBrush = 0x0142,
    MetaDeleteObject = 0x01F0,
    MetaCreatePatternBrush = 0x01F9,
    MetaSetBkColor = 0x0201,
    MetaSetTextColor = 0x0209,
    MetaSetWindowOrg = 0x020B,
    MetaSetWindowExt = 0x020C,
    MetaSetViewportOrg = 0x020D,
    MetaSetViewportExt = 0x020E,
    MetaOffsetWindowOrg = 0x020F,
    MetaOffsetViewportOrg = 0x0211,
    MetaLineTo = 0x0213,
    MetaMoveTo = 0x0214,
    MetaOffsetClipRgn = 0x0220,
    MetaFillRegion = 0x0228,
    MetaSelectPalette = 0x0234,
    MetaCreatePenIndirect = 0x02FA,
    MetaCreateFontIndirect = 0x02FB,
    MetaCreateBrushIndirect = 0x02FC,
    MetaPolygon = 0x0324,
    MetaPolyline = 0x0325,
    MetaScaleWindowExt = 0x0410,
    MetaScaleViewportExt = 0x0412,
    MetaExcludeClipRect = 0x0415,
    MetaIntersectClipRect = 0x0416,
    MetaEllipse = 0x0418,
    MetaRectangle = 0x041B,
    MetaSetPixel = 0x041F,
    MetaFrameRegion = 0x0429,
    MetaTextOut = 0x0521,
    MetaPolyPolygon = 0x0538,
    MetaRoundRect = 0x061C,
    MetaPatBlt = 0x061D,
    MetaCreateRegion = 0x06FF,
    MetaArc = 0x0817,
    MetaPie = 0x081A,
    MetaChord = 0x0830,
    MetaDibBitBlt = 0x0940,
    MetaExtTextOut = 0x0A32,
    MetaDibStretchBlt = 0x0B41,
    MetaSetDibToDev = 0x0D33,
    MetaStretchDib = 0x0F43,
};

class WmfRecord {
public:
    WmfRecord(ByteReader params, std::uint16_t function) : r_(params), function_(function) {}
    std::uint16_t function() const { return function_; }
    ByteReader &reader() { return r_; }
    // The n-th 16-bit parameter.
    std::int16_t S(std::size_t n) const { return static_cast<std::int16_t>(r_.u16At(n * 2)); }
    std::uint16_t U(std::size_t n) const { return r_.u16At(n * 2); }
    std::uint32_t U32(std::size_t n) const { return r_.u32At(n * 2); }
    std::size_t words() const { return r_.size() / 2; }
    QPointF Point(std::size_t yAt) const { return QPointF(S(yAt + 1), S(yAt)); } // y, x
    // bottom, right, top, left
    QRectF Rect(std::size_t at) const {
        return QRectF(QPointF(S(at + 3), S(at + 2)), QPointF(S(at + 1), S(at)));
    }
    std::span<const std::byte> From(std::size_t word) const {
        return r_.data().subspan(std::min(word * 2, r_.size()));
    }

private:
    ByteReader r_;
    std::uint16_t function_;
};

std::vector<QPointF> Points(ByteReader &r, std::size_t count) {
    std::vector<QPointF> points;
    points.reserve(std::min(count, r.remaining() / 4));
    for (std::size_t i = 0; i < count; ++i) {
        const double x = r.i16();
        const double y = r.i16();
        points.emplace_back(x, y);
    }
    return points;
}

// A WMF region object: header, bounding box, then scans of (top, bottom, pairs of left and right).
QRegion ReadRegion(ByteReader r) {
    r.skip(10); // next in chain, object type, object count, region size
    const std::uint16_t scans = r.u16();
    r.skip(2 + 8); // largest scan, bounding box
    QRegion region;
    for (std::uint16_t s = 0; s < scans && s < 10000; ++s) {
        const std::uint16_t count = r.u16();
        const int top = r.i16();
        const int bottom = r.i16();
        for (std::uint16_t i = 0; i + 1 < count; i += 2) {
            const int left = r.i16();
            const int right = r.i16();
            region += QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
        }
        r.u16(); // the count again
    }
    return region;
}

GdiBrush BrushAt(const GdiPlayer &player, std::uint16_t index) {
    if (const GdiObject *o = player.Object(index))
        if (const auto *b = std::get_if<GdiBrush>(o)) return *b;
    return GdiBrush{1, 0, 0, {}};
}

QRegion RegionAt(const GdiPlayer &player, std::uint16_t index) {
    if (const GdiObject *o = player.Object(index))
        if (const auto *g = std::get_if<GdiRegion>(o)) return g->region;
    return {};
}

class WmfPlayback {
public:
    WmfPlayback(GdiPlayer &player, std::uint16_t objectLimit)
        : g_(player), objectLimit_(objectLimit == 0 ? 0xFFFFu : objectLimit) {}

    void Play(WmfRecord &rec);

private:
    void Create(GdiObject object) {
        // A new object takes the lowest free slot; with the table full, creation fails.
        if (const auto index = g_.FreeIndex(objectLimit_)) g_.PutObject(*index, std::move(object));
    }
    void Text(WmfRecord &rec, bool extended);
    void Blit(WmfRecord &rec);

    GdiPlayer &g_;
    std::uint32_t objectLimit_;
    std::uint8_t charSet_ = 1; // of the last font selected
};

void WmfPlayback::Text(WmfRecord &rec, bool extended) {
    ByteReader &r = rec.reader();
    QPointF at;
    std::uint16_t count = 0, options = 0;
    std::optional<QRectF> rect;
    if (extended) {
        at = rec.Point(0);
        count = rec.U(2);
        options = rec.U(3);
        r.seek(8);
        if (options & (Gdi::EtoOpaque | Gdi::EtoClipped)) {
            const double l = r.i16(), t = r.i16(), ri = r.i16(), b = r.i16();
            rect = QRectF(QPointF(l, t), QPointF(ri, b));
        }
    } else {
        count = rec.U(0);
        r.seek(2);
    }
    const auto bytes = r.take(count);
    r.align(2);
    std::vector<double> dx;
    if (extended && r.remaining() >= std::size_t{count} * 2) {
        dx.reserve(count);
        for (std::uint16_t i = 0; i < count; ++i)
            dx.push_back(r.i16());
    }
    if (!extended) {
        const double y = r.i16();
        const double x = r.i16();
        at = QPointF(x, y);
    }
    const QString text = DecodeCharsetText(bytes, charSet_);
    g_.TextOut(at, text, dx, options, rect);
}
// DIBBITBLT, DIBSTRETCHBLT, STRETCHDIB and SETDIBTODEV: a packed DIB at the end; the two blits
// without a bitmap (record of exactly the fixed words) are pattern blits.
void WmfPlayback::Blit(WmfRecord &rec) {
    const std::uint16_t f = rec.function();
    const std::size_t fixed = (f >> 8) + 3u; // record words without a bitmap, header included
    const bool noBitmap = (f == MetaDibBitBlt || f == MetaDibStretchBlt) && rec.words() + 3 == fixed;
    if (f == MetaDibBitBlt) {
        // rop, ySrc, xSrc, [reserved], height, width, yDest, xDest, DIB
        const std::uint32_t rop = rec.U32(0);
        const std::size_t o = noBitmap ? 5 : 4;
        const double h = rec.S(o), w = rec.S(o + 1);
        const QRectF dest(rec.Point(o + 2), QSizeF(w, h));
        if (noBitmap) return g_.PatBlt(dest, rop);
        const QImage image = MetafilePackedDib(rec.From(o + 4), false, g_);
        g_.StretchBlt(image, QRectF(rec.S(3), rec.S(2), w, h), dest, rop);
    } else if (f == MetaDibStretchBlt) {
        // rop, srcHeight, srcWidth, ySrc, xSrc, [reserved], destHeight, destWidth, yDest, xDest, DIB
        const std::uint32_t rop = rec.U32(0);
        const std::size_t o = noBitmap ? 7 : 6;
        const QRectF dest(rec.Point(o + 2), QSizeF(rec.S(o + 1), rec.S(o)));
        if (noBitmap) return g_.PatBlt(dest, rop);
        const QImage image = MetafilePackedDib(rec.From(o + 4), false, g_);
        g_.StretchBlt(image, QRectF(rec.S(5), rec.S(4), rec.S(3), rec.S(2)), dest, rop);
    } else if (f == MetaStretchDib) {
        // rop, usage, srcHeight, srcWidth, ySrc, xSrc, destHeight, destWidth, yDest, xDest, DIB
        const std::uint32_t rop = rec.U32(0);
        const bool palette = rec.U(2) == 1;
        const QImage image = MetafilePackedDib(rec.From(11), palette, g_);
        const QRectF dest(rec.Point(9), QSizeF(rec.S(8), rec.S(7)));
        // The source's y counts from the DIB's bottom row.
        const double srcH = rec.S(3), srcY = image.height() - rec.S(5) - srcH;
        g_.StretchBlt(image, QRectF(rec.S(6), srcY, rec.S(4), srcH), dest, rop);
    } else if (f == MetaSetDibToDev) {
        // usage, scan count, start scan, yDib, xDib, height, width, yDest, xDest, DIB
        const bool palette = rec.U(0) == 1;
        const QImage image = MetafilePackedDib(rec.From(9), palette, g_);
        const double w = rec.S(6), h = rec.S(5);
        const double srcY = image.height() - rec.S(3) - h;
        g_.StretchBlt(image, QRectF(rec.S(4), srcY, w, h), QRectF(rec.Point(7), QSizeF(w, h)), Gdi::SrcCopy);
    }
}

void WmfPlayback::Play(WmfRecord &rec) {
    switch (rec.function()) {
    case MetaSaveDc:
        g_.SaveDC();
        break;
    case MetaRestoreDc:
        g_.RestoreDC(rec.S(0));
        break;
    case MetaSetBkMode:
        g_.SetBkMode(rec.S(0));
        break;
    case MetaSetMapMode:
        g_.SetMapMode(rec.S(0));
        break;
    case MetaSetRop2:
        g_.SetRop2(rec.S(0));
        break;
    case MetaSetPolyFillMode:
        g_.SetPolyFillMode(rec.S(0));
        break;
    case MetaSetStretchBltMode:
        g_.SetStretchBltMode(rec.S(0));
        break;
    case MetaSetTextCharExtra:
        g_.SetTextCharExtra(rec.S(0));
        break;
    case MetaSetTextAlign:
        g_.SetTextAlign(rec.U(0));
        break;
    case MetaSetBkColor:
        g_.SetBkColor(ColorRefToRgb(rec.U32(0), g_));
        break;
    case MetaSetTextColor:
        g_.SetTextColor(ColorRefToRgb(rec.U32(0), g_));
        break;
    case MetaSetWindowOrg:
        g_.SetWindowOrg(rec.Point(0));
        break;
    case MetaSetWindowExt:
        g_.SetWindowExt(QSizeF(rec.S(1), rec.S(0)));
        break;
    case MetaSetViewportOrg:
        g_.SetViewportOrg(rec.Point(0));
        break;
    case MetaSetViewportExt:
        g_.SetViewportExt(QSizeF(rec.S(1), rec.S(0)));
        break;
    case MetaOffsetWindowOrg:
        g_.OffsetWindowOrg(rec.Point(0));
        break;
    case MetaOffsetViewportOrg:
        g_.OffsetViewportOrg(rec.Point(0));
        break;
    case MetaScaleWindowExt:
        g_.ScaleWindowExt(rec.S(3), rec.S(2), rec.S(1), rec.S(0));
        break;
    case MetaScaleViewportExt:
        g_.ScaleViewportExt(rec.S(3), rec.S(2), rec.S(1), rec.S(0));
        break;
    case MetaMoveTo:
        g_.MoveTo(rec.Point(0));
        break;
    case MetaLineTo:
        g_.LineTo(rec.Point(0));
        break;
    case MetaPolygon:
    case MetaPolyline: {
        ByteReader &r = rec.reader();
        const std::uint16_t n = r.u16();
        const auto points = Points(r, n);
        if (rec.function() == MetaPolygon)
            g_.Polygon(points);
        else
            g_.Polyline(points);
        break;
    }
    case MetaPolyPolygon: {
        ByteReader &r = rec.reader();
        const std::uint16_t polygons = r.u16();
        std::vector<std::uint32_t> counts;
        std::size_t total = 0;
        for (std::uint16_t i = 0; i < polygons; ++i) {
            counts.push_back(r.u16());
            total += counts.back();
        }
        g_.PolyPolygon(Points(r, total), counts);
        break;
    }
    case MetaRectangle:
        g_.Rectangle(rec.Rect(0));
        break;
    case MetaEllipse:
        g_.Ellipse(rec.Rect(0));
        break;
    case MetaRoundRect:
        g_.RoundRect(rec.Rect(2), QSizeF(rec.S(1), rec.S(0)));
        break;
    case MetaArc:
        g_.Arc(rec.Rect(4), rec.Point(2), rec.Point(0));
        break;
    case MetaPie:
        g_.Pie(rec.Rect(4), rec.Point(2), rec.Point(0));
        break;
    case MetaChord:
        g_.Chord(rec.Rect(4), rec.Point(2), rec.Point(0));
        break;
    case MetaSetPixel:
        g_.SetPixel(rec.Point(2), ColorRefToRgb(rec.U32(0), g_));
        break;
    case MetaTextOut:
        Text(rec, false);
        break;
    case MetaExtTextOut:
        Text(rec, true);
        break;
    case MetaExcludeClipRect:
        g_.ExcludeClipRect(rec.Rect(0));
        break;
    case MetaIntersectClipRect:
        g_.IntersectClipRect(rec.Rect(0));
        break;
    case MetaOffsetClipRgn:
        g_.OffsetClipRegion(rec.Point(0));
        break;
    case MetaSelectClipRegion:
        g_.SelectObject(rec.U(0));
        break;
    case MetaSelectObject: {
        const std::uint16_t index = rec.U(0);
        if (const GdiObject *o = g_.Object(index))
            if (const auto *font = std::get_if<GdiFont>(o)) charSet_ = font->charSet;
        g_.SelectObject(index);
        break;
    }
    case MetaSelectPalette:
        g_.SelectObject(rec.U(0));
        break;
    case MetaDeleteObject:
        g_.DeleteObject(rec.U(0));
        break;
    case MetaCreatePenIndirect: {
        GdiPen pen;
        pen.style = rec.U(0);
        pen.width = std::abs(rec.S(1));
        pen.color = ColorRefToRgb(rec.U32(3), g_);
        pen.cosmetic = pen.width == 0;
        Create(pen);
        break;
    }
    case MetaCreateBrushIndirect: {
        GdiBrush brush;
        brush.style = rec.U(0);
        brush.color = ColorRefToRgb(rec.U32(1), g_);
        brush.hatch = rec.U(3);
        if (brush.style > 2) brush.style = 0; // pattern brushes come by their own records
        Create(brush);
        break;
    }
    case MetaCreateFontIndirect: {
        ByteReader &r = rec.reader();
        GdiFont font;
        font.height = r.i16();
        font.width = r.i16();
        font.escapement = r.i16();
        r.i16(); // orientation
        font.weight = r.i16();
        font.italic = r.u8() != 0;
        font.underline = r.u8() != 0;
        font.strikeOut = r.u8() != 0;
        font.charSet = r.u8();
        r.skip(4); // precisions, quality, pitch and family
        const auto face = r.take(std::min<std::size_t>(32, r.remaining()));
        std::size_t length = 0;
        while (length < face.size() && face[length] != std::byte{0})
            ++length;
        font.faceName = DecodeCharsetText(face.first(length), 1);
        Create(font);
        break;
    }
    case MetaCreatePalette: {
        ByteReader &r = rec.reader();
        r.u16(); // version
        const std::uint16_t n = r.u16();
        GdiPalette palette;
        for (std::uint16_t i = 0; i < n; ++i) {
            const auto red = r.u8(), green = r.u8(), blue = r.u8();
            r.u8();
            palette.entries.push_back(qRgb(red, green, blue));
        }
        Create(palette);
        break;
    }
    case MetaDibCreatePatternBrush: {
        GdiBrush brush;
        brush.style = 5;
        // A BITMAP16 of the old pattern form is not drawn; the brush still takes its slot.
        if (rec.U(0) != 3) brush.pattern = MetafilePackedDib(rec.From(2), rec.U(1) == 1, g_);
        if (brush.pattern.isNull()) brush.style = 0;
        brush.color = qRgb(0, 0, 0);
        Create(brush);
        break;
    }
    case MetaCreatePatternBrush:
        Create(GdiBrush{0, qRgb(0, 0, 0), 0, {}});
        break;
    case MetaCreateRegion: {
        GdiRegion region;
        try {
            region.region = ReadRegion(rec.reader());
        } catch (const ErrorReport &) {
            // A region cut short still takes its slot, empty.
        }
        Create(region);
        break;
    }
    case MetaFillRegion:
        g_.FillRegion(RegionAt(g_, rec.U(0)), BrushAt(g_, rec.U(1)));
        break;
    case MetaFrameRegion:
        g_.FrameRegion(RegionAt(g_, rec.U(0)), BrushAt(g_, rec.U(1)), QSizeF(rec.S(3), rec.S(2)));
        break;
    case MetaInvertRegion:
        g_.InvertRegion(RegionAt(g_, rec.U(0)));
        break;
    case MetaPaintRegion:
        g_.PaintRegion(RegionAt(g_, rec.U(0)));
        break;
    case MetaPatBlt: {
        const QRectF dest(rec.Point(4), QSizeF(rec.S(3), rec.S(2)));
        g_.PatBlt(dest, rec.U32(0));
        break;
    }
    case MetaDibBitBlt:
    case MetaDibStretchBlt:
    case MetaStretchDib:
    case MetaSetDibToDev:
        Blit(rec);
        break;
    default:
        break; // records that draw nothing here (escapes, flood fills, old bitmaps, ...)
    }
}
} // namespace

void PlayWmfRecords(std::span<const std::byte> data, std::size_t recordsAt, std::uint16_t objectLimit,
                    GdiPlayer &player) {
    const ByteReader file(data);
    WmfPlayback playback(player, objectLimit);
    std::size_t at = recordsAt;
    for (std::size_t n = 0; n < kMaxMetafileRecords && file.contains(at, 6); ++n) {
        const std::uint32_t words = file.u32At(at);
        const std::uint16_t function = file.u16At(at + 4);
        // A record shorter than its own header, or running past the end, ends the metafile.
        if (function == MetaEof || words < 3 || words > (file.size() - at) / 2) break;
        WmfRecord rec(file.sub(at + 6, std::size_t{words} * 2 - 6), function);
        try {
            playback.Play(rec);
        } catch (const ErrorReport &) {
            // Parameters cut short: the record is skipped.
        }
        at += std::size_t{words} * 2;
    }
}
