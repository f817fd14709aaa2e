#pragma once
// Our one GDI playback engine: the device-context state that WMF and EMF records change (mapping
// mode, window and viewport, world transform, saved states, selected objects, colours, modes, the
// current position, the clip region and an open path), and the drawing operations they call, all
// carried out on a QPainter. Coordinates come in logical units; the engine maps them to the
// painter's. Nothing here fails: a call that GDI would refuse does nothing.
#include "imaging/metafile/gdi/GdiObjects.h"

#include <QBrush>
#include <QPainterPath>
#include <QPen>
#include <QPointF>
#include <QRectF>
#include <QRegion>
#include <QTransform>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

class QPainter;

namespace Gdi {
// Mapping modes.
constexpr int MmText = 1, MmLoMetric = 2, MmHiMetric = 3, MmLoEnglish = 4, MmHiEnglish = 5, MmTwips = 6,
              MmIsotropic = 7, MmAnisotropic = 8;
// Region combination modes.
constexpr int RgnAnd = 1, RgnOr = 2, RgnXor = 3, RgnDiff = 4, RgnCopy = 5;
// Text alignment.
constexpr std::uint32_t TaUpdateCp = 1, TaRight = 2, TaCenter = 6, TaBottom = 8, TaBaseline = 24;
// ExtTextOut options.
constexpr std::uint32_t EtoOpaque = 2, EtoClipped = 4, EtoGlyphIndex = 0x10, EtoPdy = 0x2000;
// Raster operations of the blits.
constexpr std::uint32_t SrcCopy = 0x00CC0020, SrcPaint = 0x00EE0086, SrcAnd = 0x008800C6,
                        SrcInvert = 0x00660046, NotSrcCopy = 0x00330008, DstInvert = 0x00550009,
                        PatCopy = 0x00F00021, PatInvert = 0x005A0049, Blackness = 0x00000042,
                        Whiteness = 0x00FF0062;
// Poly-draw point types.
constexpr std::uint8_t PtCloseFigure = 1, PtLineTo = 2, PtBezierTo = 4, PtMoveTo = 6;
} // namespace Gdi

class GdiPlayer {
public:
    // `deviceToOutput` maps the device space of the played DC to the painter's coordinates and
    // `deviceDpi` is that device's resolution (for the metric and English mapping modes). Nothing
    // is drawn outside `outputClip` (painter coordinates).
    GdiPlayer(QPainter &painter, const QTransform &deviceToOutput, const QRectF &outputClip,
              QSizeF deviceDpi);
    ~GdiPlayer();
    GdiPlayer(const GdiPlayer &) = delete;
    GdiPlayer &operator=(const GdiPlayer &) = delete;

    // Mapping.
    void SetMapMode(int mode);
    void SetWindowOrg(QPointF org);
    void SetWindowExt(QSizeF ext);
    void SetViewportOrg(QPointF org);
    void SetViewportExt(QSizeF ext);
    void OffsetWindowOrg(QPointF by);
    void OffsetViewportOrg(QPointF by);
    void ScaleWindowExt(double xNum, double xDenom, double yNum, double yDenom);
    void ScaleViewportExt(double xNum, double xDenom, double yNum, double yDenom);
    void SetWorldTransform(const QTransform &t);
    // Mode 1: identity, 2: left-multiply, 3: right-multiply, 4: set.
    void ModifyWorldTransform(const QTransform &t, std::uint32_t mode);
    int MapMode() const;

    // Saved states: RestoreDC(-n) goes back n saves, RestoreDC(n) to the n-th save.
    void SaveDC();
    void RestoreDC(std::int32_t which);

    // Attributes.
    void SetBkMode(int mode); // 1 transparent, 2 opaque
    void SetBkColor(QRgb color);
    void SetTextColor(QRgb color);
    void SetTextAlign(std::uint32_t align);
    void SetPolyFillMode(int mode); // 1 alternate, 2 winding
    void SetRop2(int rop);
    void SetStretchBltMode(int mode);
    void SetArcDirection(int direction); // 1 counter-clockwise, 2 clockwise
    void SetMiterLimit(double limit);
    void SetTextCharExtra(double extra);
    void SetBrushOrg(QPointF org);

    // Object table. Indices are the metafile's; a put over an existing object replaces it.
    void PutObject(std::uint32_t index, GdiObject object);
    void SelectObject(std::uint32_t index);
    void DeleteObject(std::uint32_t index);
    void SelectStockObject(std::uint32_t stock);
    // The lowest free index below `limit`, as WMF playback places new objects.
    std::optional<std::uint32_t> FreeIndex(std::uint32_t limit) const;
    const GdiObject *Object(std::uint32_t index) const;
    // The entries of the selected palette (the default palette when none is selected).
    std::vector<QRgb> PaletteEntries() const;
    void SetPaletteEntries(std::uint32_t index, std::uint32_t start, std::span<const QRgb> entries);

    // Figures.
    void MoveTo(QPointF p);
    void LineTo(QPointF p);
    void Polyline(std::span<const QPointF> points);
    void PolylineTo(std::span<const QPointF> points);
    void PolyBezier(std::span<const QPointF> points);
    void PolyBezierTo(std::span<const QPointF> points);
    void PolyDraw(std::span<const QPointF> points, std::span<const std::uint8_t> types);
    void Polygon(std::span<const QPointF> points);
    void PolyPolygon(std::span<const QPointF> points, std::span<const std::uint32_t> counts);
    void PolyPolyline(std::span<const QPointF> points, std::span<const std::uint32_t> counts);
    void Rectangle(const QRectF &r);
    void RoundRect(const QRectF &r, QSizeF corner);
    void Ellipse(const QRectF &r);
    void Arc(const QRectF &box, QPointF start, QPointF end);
    void ArcTo(const QRectF &box, QPointF start, QPointF end);
    void Chord(const QRectF &box, QPointF start, QPointF end);
    void Pie(const QRectF &box, QPointF start, QPointF end);
    void AngleArc(QPointF center, double radius, double startDegrees, double sweepDegrees);
    void SetPixel(QPointF p, QRgb color);
    // Text at `at` (or the current position), with per-character advances in logical units when
    // `dx` is not empty; `rect` is the ExtTextOut rectangle of EtoOpaque and EtoClipped.
    void TextOut(QPointF at, const QString &text, std::span<const double> dx, std::uint32_t options,
                 std::optional<QRectF> rect);

    // Paths.
    void BeginPath();
    void EndPath();
    void AbortPath();
    void CloseFigure();
    void FillPath();
    void StrokePath();
    void StrokeAndFillPath();
    void SelectClipPath(int mode);

    // Clipping. Regions of SelectClipRegion are in device units (nullopt: no clip region).
    void IntersectClipRect(const QRectF &r);
    void ExcludeClipRect(const QRectF &r);
    void OffsetClipRegion(QPointF by);
    void SelectClipRegion(const std::optional<QRegion> &deviceRegion, int mode);
    // Regions in logical units, drawn with a brush or the selected one.
    void FillRegion(const QRegion &region, const GdiBrush &brush);
    void FrameRegion(const QRegion &region, const GdiBrush &brush, QSizeF frame);
    void InvertRegion(const QRegion &region);
    void PaintRegion(const QRegion &region);

    // Bitmaps: the `source` part of the image stretched onto the logical rectangle `dest`
    // (negative extents mirror), combined by the raster operation.
    void StretchBlt(const QImage &image, const QRectF &source, const QRectF &dest, std::uint32_t rop);
    // A raster operation without a source: the selected brush, black, white or the inverse.
    void PatBlt(const QRectF &dest, std::uint32_t rop);

    struct State;

private:
    QTransform Total() const;
    QTransform PageToDevice() const;
    double LineScale() const;
    QPainterPath MapPath(const QPainterPath &logical) const;
    QPen OutputPen() const;
    QBrush OutputBrush(const GdiBrush &brush) const;
    bool PrepareDraw();
    void ApplyRop2();
    void Draw(const QPainterPath &output, bool fill, bool stroke);
    void Figure(const QPainterPath &logical, bool fill, bool stroke);
    void AppendToPath(const QPainterPath &output, bool startsFigure);
    QPainterPath ArcPath(const QRectF &box, QPointF start, QPointF end, int kind, QPointF *startOut,
                         QPointF *endOut) const;
    void CombineClip(const QRegion &outputRegion, int mode);
    QRegion LogicalRectRegion(const QRectF &r) const;
    QRegion LogicalRegion(const QRegion &r) const;
    // The rectangle that regions are cut to: the output area with a wide margin.
    QRectF RegionWindow() const { return outputClip_.adjusted(-1024, -1024, 1024, 1024); }

    QPainter &painter_;
    QTransform deviceToOutput_;
    QRectF outputClip_;
    QSizeF deviceDpi_;
    std::vector<State> saved_;
    std::unique_ptr<State> state_;
    std::vector<std::optional<GdiObject>> objects_;
    std::optional<QPainterPath> path_; // the open (or ended) path, in output coordinates
    bool pathOpen_ = false;
    bool clipDirty_ = true;
};
