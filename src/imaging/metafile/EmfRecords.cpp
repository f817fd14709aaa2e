// EMF records: a 32-bit type and size, then 32-bit fields; offsets inside a record (of bitmaps,
// strings, advances) count from the record's start.
#include "imaging/metafile/MetafileRecords.h"
#include "imaging/metafile/gdi/GdiCharsets.h"
#include "pe/ByteReader.h"
#include "system/ErrorReport.h"

#include <algorithm>
#include <bit>
#include <vector>

namespace {
enum : std::uint32_t {
    EmrHeader = 1,
    EmrPolyBezier = 2,
    EmrPolygon = 3,
    EmrPolyline = 4,
    EmrPolyBezierTo = 5,
    EmrPolylineTo = 6,
    EmrPolyPolyline = 7,
    EmrPolyPolygon = 8,
    EmrSetWindowExtEx = 9,
    EmrSetWindowOrgEx = 10,
    EmrSetViewportExtEx = 11,
    EmrSetViewportOrgEx = 12,
    EmrSetBrushOrgEx = 13,
    EmrEof = 14,
    EmrSetPixelV = 15,
    EmrSetMapMode = 17,
    EmrSetBkMode = 18,
    EmrSetPolyFillMode = 19,
    EmrSetRop2 = 20,
    EmrSetStretchBltMode = 21,
    EmrSetTextAlign = 22,
    EmrSetTextColor = 24,
    EmrSetBkColor = 25,
    EmrOffsetClipRgn = 26,
    EmrMoveToEx = 27,
    EmrExcludeClipRect = 29,
    EmrIntersectClipRect = 30,
    EmrScaleViewportExtEx = 31,
    EmrScaleWindowExtEx = 32,
    EmrSaveDc = 33,
    EmrRestoreDc = 34,
    EmrSetWorldTransform = 35,
    EmrModifyWorldTransform = 36,
    EmrSelectObject = 37,
    EmrCreatePen = 38,
    EmrCreateBrushIndirect = 39,
    EmrDeleteObject = 40,
    EmrAngleArc = 41,
    EmrEllipse = 42,
    EmrRectangle = 43,
    EmrRoundRect = 44,
    EmrArc = 45,
    EmrChord = 46,
    EmrPie = 47,
    EmrSelectPalette = 48,
    EmrCreatePalette = 49,
    EmrSetPaletteEntries = 50,
    EmrLineTo = 54,
    EmrArcTo = 55,
    EmrPolyDraw = 56,
    EmrSetArcDirection = 57,
    EmrSetMiterLimit = 58,
    EmrBeginPath = 59,
    EmrEndPath = 60,
    EmrCloseFigure = 61,
    EmrFillPath = 62,
    EmrStrokeAndFillPath = 63,
    EmrStrokePath = 64,
    EmrSelectClipPath = 67,
    EmrAbortPath = 68,
    EmrFillRgn = 71,
    EmrFrameRgn = 72,
    EmrInvertRgn = 73,
    EmrPaintRgn = 74,
    EmrExtSelectClipRgn = 75,
    EmrBitBlt = 76,
    EmrStretchBlt = 77,
    EmrSetDiBitsToDevice = 80,
    EmrStretchDiBits = 81,
    EmrExtCreateFontIndirectW = 82,
    EmrExtTextOutA = 83,
    EmrExtTextOutW = 84,
    EmrPolyBezier16 = 85,
    EmrPolygon16 = 86,
    EmrPolyline16 = 87,
    EmrPolyBezierTo16 = 88,
    EmrPolylineTo16 = 89,
    EmrPolyPolyline16 = 90,
    EmrPolyPolygon16 = 91,
    EmrPolyDraw16 = 92,
    EmrCreateMonoBrush = 93,
    EmrCreateDibPatternBrushPt = 94,
    EmrExtCreatePen = 95,
    EmrPolyTextOutA = 96,
    EmrPolyTextOutW = 97,
    EmrAlphaBlend = 114,
    EmrTransparentBlt = 116,
};
constexpr std::uint32_t kStockBit = 0x80000000u;

class EmfRecord {
public:
    explicit EmfRecord(ByteReader r) : r_(r) {}
    std::uint32_t type() const { return r_.u32At(0); }
    std::int32_t I(std::size_t offset) const { return static_cast<std::int32_t>(r_.u32At(offset)); }
    std::uint32_t U(std::size_t offset) const { return r_.u32At(offset); }
    float F(std::size_t offset) const { return std::bit_cast<float>(r_.u32At(offset)); }
    QPointF Point(std::size_t offset) const { return QPointF(I(offset), I(offset + 4)); }
    QSizeF Size(std::size_t offset) const { return QSizeF(I(offset), I(offset + 4)); }
    QRectF Box(std::size_t offset) const { return QRectF(Point(offset), Point(offset + 8)); }
    QTransform Xform(std::size_t offset) const {
        return QTransform(F(offset), F(offset + 4), F(offset + 8), F(offset + 12), F(offset + 16),
                          F(offset + 20));
    }
    // `size` bytes at `offset` from the record's start; empty when size is 0.
    std::span<const std::byte> Bytes(std::size_t offset, std::size_t size) const {
        return size == 0 ? std::span<const std::byte>() : r_.spanAt(offset, size);
    }
    const ByteReader &reader() const { return r_; }

private:
    ByteReader r_;
};

std::vector<QPointF> Points(const EmfRecord &rec, std::size_t at, std::size_t count, bool shortPoints) {
    const std::size_t size = shortPoints ? 4 : 8;
    // Checking the whole array first keeps a huge count from allocating before it fails.
    rec.Bytes(at, CheckedMul(count, size));
    std::vector<QPointF> points;
    points.reserve(count);
    const ByteReader &r = rec.reader();
    for (std::size_t i = 0; i < count; ++i, at += size) {
        if (shortPoints)
            points.emplace_back(static_cast<std::int16_t>(r.u16At(at)),
                                static_cast<std::int16_t>(r.u16At(at + 2)));
        else
            points.emplace_back(static_cast<std::int32_t>(r.u32At(at)),
                                static_cast<std::int32_t>(r.u32At(at + 4)));
    }
    return points;
}

// RGNDATA: a 32-byte header (size, type, rectangle count, buffer size, bounds), then rectangles.
QRegion ReadRegionData(std::span<const std::byte> data) {
    const ByteReader r(data);
    const std::uint32_t count = r.u32At(8);
    QRegion region;
    for (std::uint32_t i = 0; i < count && i < 10000; ++i) {
        const std::size_t at = 32 + std::size_t{i} * 16;
        // Coordinates far outside any picture are brought in, so that no width overflows.
        const auto v = [&](std::size_t o) {
            return std::clamp(static_cast<std::int32_t>(r.u32At(at + o)), -(1 << 24), 1 << 24);
        };
        const QRect rect(QPoint(v(0), v(4)), QPoint(v(8) - 1, v(12) - 1));
        if (rect.isValid()) region += rect;
    }
    return region;
}

GdiFont ReadLogFontW(const EmfRecord &rec, std::size_t at) {
    GdiFont font;
    font.height = rec.I(at);
    font.width = rec.I(at + 4);
    font.escapement = rec.I(at + 8);
    font.weight = rec.I(at + 16);
    const ByteReader &r = rec.reader();
    font.italic = r.u8At(at + 20) != 0;
    font.underline = r.u8At(at + 21) != 0;
    font.strikeOut = r.u8At(at + 22) != 0;
    font.charSet = r.u8At(at + 23);
    QString face;
    for (std::size_t i = 0; i < 32; ++i) {
        const std::uint16_t c = r.u16At(at + 28 + i * 2);
        if (c == 0) break;
        face.append(QChar(c));
    }
    font.faceName = face;
    return font;
}

class EmfPlayback {
public:
    explicit EmfPlayback(GdiPlayer &player) : g_(player) {}
    void Play(const EmfRecord &rec);

private:
    void Poly(const EmfRecord &rec, bool shortPoints);
    void PolyPoly(const EmfRecord &rec, bool shortPoints);
    void Text(const EmfRecord &rec, std::size_t at, bool wide);
    void Blit(const EmfRecord &rec);
    GdiBrush Brush(std::uint32_t index) const {
        if (index & kStockBit) return GdiBrush{};
        if (const GdiObject *o = g_.Object(index))
            if (const auto *b = std::get_if<GdiBrush>(o)) return *b;
        return GdiBrush{1, 0, 0, {}};
    }

    GdiPlayer &g_;
};

void EmfPlayback::Poly(const EmfRecord &rec, bool shortPoints) {
    // bounds, count, points
    const auto points = Points(rec, 28, rec.U(24), shortPoints);
    switch (rec.type()) {
    case EmrPolyBezier:
    case EmrPolyBezier16:
        g_.PolyBezier(points);
        break;
    case EmrPolygon:
    case EmrPolygon16:
        g_.Polygon(points);
        break;
    case EmrPolyline:
    case EmrPolyline16:
        g_.Polyline(points);
        break;
    case EmrPolyBezierTo:
    case EmrPolyBezierTo16:
        g_.PolyBezierTo(points);
        break;
    case EmrPolylineTo:
    case EmrPolylineTo16:
        g_.PolylineTo(points);
        break;
    default:
        break;
    }
}

void EmfPlayback::PolyPoly(const EmfRecord &rec, bool shortPoints) {
    // bounds, polygon count, point count, counts, points
    const std::uint32_t polys = rec.U(24);
    const std::uint32_t total = rec.U(28);
    rec.Bytes(32, CheckedMul<std::size_t>(polys, 4));
    std::vector<std::uint32_t> counts;
    counts.reserve(polys);
    for (std::uint32_t i = 0; i < polys; ++i)
        counts.push_back(rec.U(32 + std::size_t{i} * 4));
    const auto points = Points(rec, 32 + std::size_t{polys} * 4, total, shortPoints);
    if (rec.type() == EmrPolyPolygon || rec.type() == EmrPolyPolygon16)
        g_.PolyPolygon(points, counts);
    else
        g_.PolyPolyline(points, counts);
}

// EMRTEXT at `at`: reference point, character count, string offset, options, rectangle, advances
// offset.
void EmfPlayback::Text(const EmfRecord &rec, std::size_t at, bool wide) {
    const QPointF reference = rec.Point(at);
    const std::uint32_t count = std::min<std::uint32_t>(rec.U(at + 8), 32767);
    const std::uint32_t stringAt = rec.U(at + 12);
    const std::uint32_t options = rec.U(at + 16);
    const QRectF rect = rec.Box(at + 20);
    const std::uint32_t dxAt = rec.U(at + 36);
    QString text;
    if (wide) {
        const auto bytes = rec.Bytes(stringAt, std::size_t{count} * 2);
        const ByteReader s(bytes);
        text.reserve(count);
        for (std::uint32_t i = 0; i < count; ++i)
            text.append(QChar(s.u16At(std::size_t{i} * 2)));
    } else {
        text = DecodeCharsetText(rec.Bytes(stringAt, count), 1);
    }
    if (options & Gdi::EtoGlyphIndex) return; // glyph indices of a font we do not have
    std::vector<double> dx;
    if (dxAt != 0 && count > 0) {
        // With ETO_PDY the advances come in x, y pairs.
        const std::size_t step = (options & Gdi::EtoPdy) ? 8 : 4;
        if (rec.reader().contains(dxAt, std::size_t{count} * step)) {
            dx.reserve(count);
            for (std::uint32_t i = 0; i < count; ++i)
                dx.push_back(rec.I(dxAt + std::size_t{i} * step));
        }
    }
    const bool hasRect = rect.width() != 0 || rect.height() != 0;
    g_.TextOut(reference, text, dx, options, hasRect ? std::optional<QRectF>(rect) : std::nullopt);
}

void EmfPlayback::Blit(const EmfRecord &rec) {
    switch (rec.type()) {
    case EmrBitBlt:
    case EmrStretchBlt:
    case EmrAlphaBlend:
    case EmrTransparentBlt: {
        // bounds, dest x, y, cx, cy, rop, source x, y, source transform, background colour,
        // usage, bitmap info offset and size, bits offset and size, [source cx, cy]
        const QRectF dest(rec.Point(24), rec.Size(32));
        const std::uint32_t rop = rec.U(40);
        const std::uint32_t bmiSize = rec.U(88);
        if (rec.type() == EmrBitBlt && bmiSize == 0) return g_.PatBlt(dest, rop);
        const bool alpha = rec.type() == EmrAlphaBlend && ((rop >> 24) & 0xFF) == 1; // AC_SRC_ALPHA
        QImage image = MetafileDib(rec.Bytes(rec.U(84), bmiSize), rec.Bytes(rec.U(92), rec.U(96)),
                                   rec.U(80) == 1, g_, alpha);
        if (image.isNull()) return;
        QSizeF source = dest.size();
        if (rec.type() != EmrBitBlt) source = rec.Size(100);
        if (rec.type() == EmrTransparentBlt) {
            // The colour that rop holds here is left out.
            const QRgb key = ColorRefToRgb(rop, g_) & 0x00FFFFFFu;
            const int width = image.width();
            for (int y = 0; y < image.height(); ++y) {
                auto *p = reinterpret_cast<QRgb *>(image.scanLine(y));
                for (int x = 0; x < width; ++x)
                    if ((p[x] & 0x00FFFFFFu) == key) p[x] = 0;
            }
        }
        g_.StretchBlt(image, QRectF(rec.Point(44), source), dest,
                      rec.type() == EmrBitBlt || rec.type() == EmrStretchBlt ? rop : Gdi::SrcCopy);
        break;
    }
    case EmrStretchDiBits: {
        // bounds, dest x, y, source x, y, cx, cy, info offset, size, bits offset, size, usage,
        // rop, dest cx, cy
        const QImage image =
            MetafileDib(rec.Bytes(rec.U(48), rec.U(52)), rec.Bytes(rec.U(56), rec.U(60)), rec.U(64) == 1, g_);
        if (image.isNull()) return;
        const QSizeF src = rec.Size(40);
        // The source's y counts from the DIB's bottom row.
        const double top = image.height() - rec.I(36) - src.height();
        g_.StretchBlt(image, QRectF(QPointF(rec.I(32), top), src), QRectF(rec.Point(24), rec.Size(72)),
                      rec.U(68));
        break;
    }
    case EmrSetDiBitsToDevice: {
        // bounds, dest x, y, source x, y, cx, cy, info offset, size, bits offset, size, usage,
        // first scan, scan count
        const QImage image =
            MetafileDib(rec.Bytes(rec.U(48), rec.U(52)), rec.Bytes(rec.U(56), rec.U(60)), rec.U(64) == 1, g_);
        if (image.isNull()) return;
        const QSizeF size = rec.Size(40);
        const double top = image.height() - rec.I(36) - size.height();
        g_.StretchBlt(image, QRectF(QPointF(rec.I(32), top), size), QRectF(rec.Point(24), size),
                      Gdi::SrcCopy);
        break;
    }
    default:
        break;
    }
}

void EmfPlayback::Play(const EmfRecord &rec) {
    switch (rec.type()) {
    case EmrPolyBezier:
    case EmrPolygon:
    case EmrPolyline:
    case EmrPolyBezierTo:
    case EmrPolylineTo:
        Poly(rec, false);
        break;
    case EmrPolyBezier16:
    case EmrPolygon16:
    case EmrPolyline16:
    case EmrPolyBezierTo16:
    case EmrPolylineTo16:
        Poly(rec, true);
        break;
    case EmrPolyPolyline:
    case EmrPolyPolygon:
        PolyPoly(rec, false);
        break;
    case EmrPolyPolyline16:
    case EmrPolyPolygon16:
        PolyPoly(rec, true);
        break;
    case EmrPolyDraw:
    case EmrPolyDraw16: {
        const std::uint32_t count = rec.U(24);
        const bool shortPoints = rec.type() == EmrPolyDraw16;
        const auto points = Points(rec, 28, count, shortPoints);
        const auto types = rec.Bytes(28 + std::size_t{count} * (shortPoints ? 4 : 8), count);
        g_.PolyDraw(points, std::span(reinterpret_cast<const std::uint8_t *>(types.data()), types.size()));
        break;
    }
    case EmrSetWindowExtEx:
        g_.SetWindowExt(rec.Size(8));
        break;
    case EmrSetWindowOrgEx:
        g_.SetWindowOrg(rec.Point(8));
        break;
    case EmrSetViewportExtEx:
        g_.SetViewportExt(rec.Size(8));
        break;
    case EmrSetViewportOrgEx:
        g_.SetViewportOrg(rec.Point(8));
        break;
    case EmrSetBrushOrgEx:
        g_.SetBrushOrg(rec.Point(8));
        break;
    case EmrSetPixelV:
        g_.SetPixel(rec.Point(8), ColorRefToRgb(rec.U(16), g_));
        break;
    case EmrSetMapMode:
        g_.SetMapMode(rec.I(8));
        break;
    case EmrSetBkMode:
        g_.SetBkMode(rec.I(8));
        break;
    case EmrSetPolyFillMode:
        g_.SetPolyFillMode(rec.I(8));
        break;
    case EmrSetRop2:
        g_.SetRop2(rec.I(8));
        break;
    case EmrSetStretchBltMode:
        g_.SetStretchBltMode(rec.I(8));
        break;
    case EmrSetTextAlign:
        g_.SetTextAlign(rec.U(8));
        break;
    case EmrSetTextColor:
        g_.SetTextColor(ColorRefToRgb(rec.U(8), g_));
        break;
    case EmrSetBkColor:
        g_.SetBkColor(ColorRefToRgb(rec.U(8), g_));
        break;
    case EmrOffsetClipRgn:
        g_.OffsetClipRegion(rec.Point(8));
        break;
    case EmrMoveToEx:
        g_.MoveTo(rec.Point(8));
        break;
    case EmrLineTo:
        g_.LineTo(rec.Point(8));
        break;
    case EmrExcludeClipRect:
        g_.ExcludeClipRect(rec.Box(8));
        break;
    case EmrIntersectClipRect:
        g_.IntersectClipRect(rec.Box(8));
        break;
    case EmrScaleViewportExtEx:
        g_.ScaleViewportExt(rec.I(8), rec.I(12), rec.I(16), rec.I(20));
        break;
    case EmrScaleWindowExtEx:
        g_.ScaleWindowExt(rec.I(8), rec.I(12), rec.I(16), rec.I(20));
        break;
    case EmrSaveDc:
        g_.SaveDC();
        break;
    case EmrRestoreDc:
        g_.RestoreDC(rec.I(8));
        break;
    case EmrSetWorldTransform:
        g_.SetWorldTransform(rec.Xform(8));
        break;
    case EmrModifyWorldTransform:
        g_.ModifyWorldTransform(rec.Xform(8), rec.U(32));
        break;
    case EmrSelectObject: {
        const std::uint32_t index = rec.U(8);
        if (index & kStockBit)
            g_.SelectStockObject(index & ~kStockBit);
        else
            g_.SelectObject(index);
        break;
    }
    case EmrDeleteObject:
        g_.DeleteObject(rec.U(8));
        break;
    case EmrCreatePen: {
        // index, style, width (x; y unused), colour
        GdiPen pen;
        pen.style = rec.U(12);
        pen.width = std::abs(static_cast<double>(rec.I(16)));
        pen.cosmetic = pen.width == 0;
        pen.color = ColorRefToRgb(rec.U(24), g_);
        g_.PutObject(rec.U(8), pen);
        break;
    }
    case EmrExtCreatePen: {
        // index, bitmap offsets and sizes, style, width, brush style, colour, hatch, dash count,
        // dashes
        GdiPen pen;
        pen.style = rec.U(28);
        pen.width = rec.U(32);
        pen.cosmetic = (pen.style & 0x00010000u) == 0; // PS_COSMETIC: always one pixel
        pen.color = ColorRefToRgb(rec.U(40), g_);
        if (rec.U(36) == 1) pen.style = (pen.style & ~0x0Fu) | 5; // a hollow brush draws nothing
        const std::uint32_t dashes = std::min<std::uint32_t>(rec.U(48), 16);
        for (std::uint32_t i = 0; i < dashes; ++i)
            pen.dashes.push_back(rec.U(52 + std::size_t{i} * 4));
        g_.PutObject(rec.U(8), pen);
        break;
    }
    case EmrCreateBrushIndirect: {
        GdiBrush brush;
        brush.style = rec.U(12);
        brush.color = ColorRefToRgb(rec.U(16), g_);
        brush.hatch = rec.U(20);
        if (brush.style > 2) brush.style = 0;
        g_.PutObject(rec.U(8), brush);
        break;
    }
    case EmrCreateMonoBrush:
    case EmrCreateDibPatternBrushPt: {
        // index, usage, info offset and size, bits offset and size
        GdiBrush brush;
        brush.style = 6;
        brush.pattern =
            MetafileDib(rec.Bytes(rec.U(16), rec.U(20)), rec.Bytes(rec.U(24), rec.U(28)), rec.U(12) == 1, g_);
        if (brush.pattern.isNull()) {
            brush.style = 0;
            brush.color = qRgb(0, 0, 0);
        }
        g_.PutObject(rec.U(8), brush);
        break;
    }
    case EmrExtCreateFontIndirectW:
        g_.PutObject(rec.U(8), ReadLogFontW(rec, 12));
        break;
    case EmrCreatePalette: {
        // index, version, count, entries
        GdiPalette palette;
        const std::uint16_t count = rec.reader().u16At(14);
        for (std::uint16_t i = 0; i < count; ++i) {
            const std::uint32_t e = rec.U(16 + std::size_t{i} * 4);
            palette.entries.push_back(qRgb(static_cast<int>(e & 0xFF), static_cast<int>((e >> 8) & 0xFF),
                                           static_cast<int>((e >> 16) & 0xFF)));
        }
        g_.PutObject(rec.U(8), palette);
        break;
    }
    case EmrSetPaletteEntries: {
        // index, first entry, count, entries
        const std::uint32_t count = std::min<std::uint32_t>(rec.U(16), 256);
        std::vector<QRgb> entries;
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint32_t e = rec.U(20 + std::size_t{i} * 4);
            entries.push_back(qRgb(static_cast<int>(e & 0xFF), static_cast<int>((e >> 8) & 0xFF),
                                   static_cast<int>((e >> 16) & 0xFF)));
        }
        g_.SetPaletteEntries(rec.U(8), rec.U(12), entries);
        break;
    }
    case EmrSelectPalette:
        g_.SelectObject(rec.U(8));
        break;
    case EmrAngleArc:
        g_.AngleArc(rec.Point(8), rec.U(16), rec.F(20), rec.F(24));
        break;
    case EmrEllipse:
        g_.Ellipse(rec.Box(8));
        break;
    case EmrRectangle:
        g_.Rectangle(rec.Box(8));
        break;
    case EmrRoundRect:
        g_.RoundRect(rec.Box(8), rec.Size(24));
        break;
    case EmrArc:
        g_.Arc(rec.Box(8), rec.Point(24), rec.Point(32));
        break;
    case EmrChord:
        g_.Chord(rec.Box(8), rec.Point(24), rec.Point(32));
        break;
    case EmrPie:
        g_.Pie(rec.Box(8), rec.Point(24), rec.Point(32));
        break;
    case EmrArcTo:
        g_.ArcTo(rec.Box(8), rec.Point(24), rec.Point(32));
        break;
    case EmrSetArcDirection:
        g_.SetArcDirection(rec.I(8));
        break;
    case EmrSetMiterLimit:
        g_.SetMiterLimit(rec.U(8));
        break;
    case EmrBeginPath:
        g_.BeginPath();
        break;
    case EmrEndPath:
        g_.EndPath();
        break;
    case EmrCloseFigure:
        g_.CloseFigure();
        break;
    case EmrFillPath:
        g_.FillPath();
        break;
    case EmrStrokeAndFillPath:
        g_.StrokeAndFillPath();
        break;
    case EmrStrokePath:
        g_.StrokePath();
        break;
    case EmrSelectClipPath:
        g_.SelectClipPath(rec.I(8));
        break;
    case EmrAbortPath:
        g_.AbortPath();
        break;
    case EmrFillRgn:
        // bounds, data size, brush, data
        g_.FillRegion(ReadRegionData(rec.Bytes(32, rec.U(24))), Brush(rec.U(28)));
        break;
    case EmrFrameRgn:
        // bounds, data size, brush, width, height, data
        g_.FrameRegion(ReadRegionData(rec.Bytes(40, rec.U(24))), Brush(rec.U(28)), rec.Size(32));
        break;
    case EmrInvertRgn:
        g_.InvertRegion(ReadRegionData(rec.Bytes(28, rec.U(24))));
        break;
    case EmrPaintRgn:
        g_.PaintRegion(ReadRegionData(rec.Bytes(28, rec.U(24))));
        break;
    case EmrExtSelectClipRgn: {
        // data size, mode, data (device units); no data resets the clip region with RGN_COPY
        const std::uint32_t size = rec.U(8);
        const int mode = rec.I(12);
        if (size == 0)
            g_.SelectClipRegion(std::nullopt, mode);
        else
            g_.SelectClipRegion(ReadRegionData(rec.Bytes(16, size)), mode);
        break;
    }
    case EmrExtTextOutA:
    case EmrExtTextOutW:
        // bounds, graphics mode, x and y scale, EMRTEXT
        Text(rec, 36, rec.type() == EmrExtTextOutW);
        break;
    case EmrPolyTextOutA:
    case EmrPolyTextOutW: {
        // bounds, graphics mode, scales, string count, EMRTEXT array
        const std::uint32_t strings = std::min<std::uint32_t>(rec.U(36), 4096);
        for (std::uint32_t i = 0; i < strings; ++i)
            Text(rec, 40 + std::size_t{i} * 40, rec.type() == EmrPolyTextOutW);
        break;
    }
    case EmrBitBlt:
    case EmrStretchBlt:
    case EmrAlphaBlend:
    case EmrTransparentBlt:
    case EmrStretchDiBits:
    case EmrSetDiBitsToDevice:
        Blit(rec);
        break;
    default:
        break; // comments, colour management, palettes realised, ...: nothing to draw
    }
}
} // namespace

void PlayEmfRecords(std::span<const std::byte> data, GdiPlayer &player) {
    const ByteReader file(data);
    EmfPlayback playback(player);
    std::size_t at = 0;
    for (std::size_t n = 0; n < kMaxMetafileRecords && file.contains(at, 8); ++n) {
        const std::uint32_t type = file.u32At(at);
        const std::uint32_t size = file.u32At(at + 4);
        // Records are whole 32-bit words, at least type and size, inside the data.
        if (size < 8 || size % 4 != 0 || size > file.size() - at) break;
        if (type == EmrEof) break;
        if (type != EmrHeader) {
            try {
                playback.Play(EmfRecord(file.sub(at, size)));
            } catch (const ErrorReport &) {
                // Fields or data outside the record: the record is skipped.
            }
        }
        at += size;
    }
}
