#include "imaging/metafile/gdi/GdiPlayer.h"

#include "imaging/metafile/gdi/GdiState.h"

#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace {
// Qt refuses pens of 32,768 pixels and more; a wider pen covers any picture anyway.
constexpr double kMaxPenWidth = 32000.0;

Qt::BrushStyle HatchStyle(std::uint32_t hatch) {
    switch (hatch) {
    case 0:
        return Qt::HorPattern;
    case 1:
        return Qt::VerPattern;
    case 2:
        return Qt::BDiagPattern; // HS_FDIAGONAL: lines falling from left to right
    case 3:
        return Qt::FDiagPattern; // HS_BDIAGONAL: lines rising from left to right
    case 4:
        return Qt::CrossPattern;
    case 5:
        return Qt::DiagCrossPattern;
    default:
        return Qt::SolidPattern;
    }
}

QPainterPath PolygonPath(std::span<const QPointF> points, bool close) {
    QPainterPath path;
    if (points.empty()) return path;
    path.moveTo(points[0]);
    for (std::size_t i = 1; i < points.size(); ++i)
        path.lineTo(points[i]);
    if (close) path.closeSubpath();
    return path;
}
} // namespace

QPen GdiPlayer::OutputPen() const {
    const GdiPen &p = state_->pen;
    if (p.IsNull()) return Qt::NoPen;
    QPen pen{QColor(p.color)};
    const double scaled = p.cosmetic ? 1.0 : p.width * LineScale();
    const bool thin = p.cosmetic || scaled <= 1.0;
    pen.setWidthF(std::clamp(scaled, 1.0, kMaxPenWidth));
    pen.setCosmetic(thin);
    // Styles other than solid draw only on thin pens, unless the pen is geometric.
    const bool geometric = (p.style & 0x00010000u) != 0;
    if (thin || geometric) {
        switch (p.Kind()) {
        case 1:
            pen.setStyle(Qt::DashLine);
            break;
        case 2:
            pen.setStyle(Qt::DotLine);
            break;
        case 3:
            pen.setStyle(Qt::DashDotLine);
            break;
        case 4:
            pen.setStyle(Qt::DashDotDotLine);
            break;
        case 7:
            if (!p.dashes.empty()) {
                QList<qreal> pattern;
                for (std::uint32_t d : p.dashes)
                    pattern << std::clamp(static_cast<double>(d) / pen.widthF(), 0.1, 1000.0);
                if (pattern.size() % 2 == 1) pattern << pattern.back();
                pen.setDashPattern(pattern);
            }
            break;
        case 8:
            pen.setDashPattern({1.0, 1.0});
            break;
        default:
            break;
        }
    }
    if (geometric) {
        switch (p.style & 0x00000F00u) {
        case 0x100:
            pen.setCapStyle(Qt::SquareCap);
            break;
        case 0x200:
            pen.setCapStyle(Qt::FlatCap);
            break;
        default:
            pen.setCapStyle(Qt::RoundCap);
            break;
        }
        switch (p.style & 0x0000F000u) {
        case 0x1000:
            pen.setJoinStyle(Qt::BevelJoin);
            break;
        case 0x2000:
            pen.setJoinStyle(Qt::MiterJoin);
            pen.setMiterLimit(state_->miterLimit);
            break;
        default:
            pen.setJoinStyle(Qt::RoundJoin);
            break;
        }
    } else {
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
    }
    return pen;
}

QBrush GdiPlayer::OutputBrush(const GdiBrush &b) const {
    switch (b.style) {
    case 0:
        return QBrush(QColor(b.color));
    case 1:
        return Qt::NoBrush;
    case 2:
        return QBrush(QColor(b.color), HatchStyle(b.hatch));
    case 3:
    case 5:
    case 6:
        if (!b.pattern.isNull()) return QBrush(b.pattern);
        return QBrush(QColor(b.color));
    default:
        return QBrush(QColor(b.color));
    }
}

void GdiPlayer::ApplyRop2() {
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    switch (state_->rop2) {
    case 4:
        mode = QPainter::RasterOp_NotSource;
        break;
    case 6:
        mode = QPainter::RasterOp_NotDestination;
        break;
    case 7:
        mode = QPainter::RasterOp_SourceXorDestination;
        break;
    case 9:
        mode = QPainter::RasterOp_SourceAndDestination;
        break;
    case 10:
        mode = QPainter::RasterOp_NotSourceXorDestination;
        break;
    case 15:
        mode = QPainter::RasterOp_SourceOrDestination;
        break;
    default:
        break;
    }
    painter_.setCompositionMode(mode);
    // Raster operations work on whole pixels; smoothed edges would combine twice.
    painter_.setRenderHint(QPainter::Antialiasing, mode == QPainter::CompositionMode_SourceOver);
}

bool GdiPlayer::PrepareDraw() {
    if (state_->rop2 == 11) return false; // R2_NOP
    if (clipDirty_) {
        const QRegion bounds(outputClip_.toAlignedRect());
        if (state_->clip)
            painter_.setClipRegion(state_->clip->intersected(bounds));
        else
            painter_.setClipRect(outputClip_);
        clipDirty_ = false;
    }
    ApplyRop2();
    return true;
}

void GdiPlayer::Draw(const QPainterPath &output, bool fill, bool stroke) {
    if (!GdiUsableTransform(Total()) || !PrepareDraw()) return;
    const State &s = *state_;
    // R2_BLACK and R2_WHITE draw in that colour whatever pen and brush say.
    const std::optional<QColor> forced = s.rop2 == 1    ? std::optional<QColor>(Qt::black)
                                         : s.rop2 == 16 ? std::optional<QColor>(Qt::white)
                                                        : std::nullopt;
    if (fill && !s.brush.IsNull()) {
        if (forced) {
            painter_.fillPath(output, *forced);
        } else {
            // Hatches are drawn over the background colour when the background mode is opaque.
            if (s.brush.style == 2 && s.bkMode == 2) painter_.fillPath(output, QColor(s.bkColor));
            painter_.fillPath(output, OutputBrush(s.brush));
        }
    }
    if (stroke && !s.pen.IsNull()) {
        QPen pen = OutputPen();
        if (forced) pen.setColor(*forced);
        painter_.strokePath(output, pen);
    }
}

void GdiPlayer::AppendToPath(const QPainterPath &output, bool startsFigure) {
    if (!path_) path_ = QPainterPath();
    if (startsFigure || path_->elementCount() == 0) {
        path_->addPath(output);
    } else {
        path_->connectPath(output);
    }
}

void GdiPlayer::Figure(const QPainterPath &logical, bool fill, bool stroke) {
    QPainterPath path = logical;
    path.setFillRule(state_->polyFillMode == 2 ? Qt::WindingFill : Qt::OddEvenFill);
    if (pathOpen_) {
        AppendToPath(MapPath(path), true);
        return;
    }
    Draw(MapPath(path), fill, stroke);
}

void GdiPlayer::MoveTo(QPointF p) {
    state_->current = p;
    if (pathOpen_) {
        if (!path_) path_ = QPainterPath();
        path_->moveTo(Total().map(p));
    }
}

void GdiPlayer::LineTo(QPointF p) {
    const QPointF from = state_->current;
    state_->current = p;
    if (pathOpen_) {
        if (!path_) path_ = QPainterPath();
        if (path_->elementCount() == 0) path_->moveTo(Total().map(from));
        path_->lineTo(Total().map(p));
        return;
    }
    QPainterPath line(from);
    line.lineTo(p);
    Draw(MapPath(line), false, true);
}

void GdiPlayer::Polyline(std::span<const QPointF> points) {
    if (points.size() < 2) return;
    Figure(PolygonPath(points, false), false, true);
}

void GdiPlayer::PolylineTo(std::span<const QPointF> points) {
    if (points.empty()) return;
    if (pathOpen_) {
        for (QPointF p : points)
            LineTo(p);
        return;
    }
    QPainterPath path(state_->current);
    for (QPointF p : points)
        path.lineTo(p);
    state_->current = points.back();
    Draw(MapPath(path), false, true);
}

void GdiPlayer::PolyBezier(std::span<const QPointF> points) {
    if (points.size() < 4) return;
    QPainterPath path(points[0]);
    for (std::size_t i = 1; i + 2 < points.size(); i += 3)
        path.cubicTo(points[i], points[i + 1], points[i + 2]);
    Figure(path, false, true);
}

void GdiPlayer::PolyBezierTo(std::span<const QPointF> points) {
    if (points.size() < 3) return;
    QPainterPath path(state_->current);
    std::size_t i = 0;
    for (; i + 2 < points.size(); i += 3)
        path.cubicTo(points[i], points[i + 1], points[i + 2]);
    state_->current = points[i - 1];
    if (pathOpen_) {
        AppendToPath(MapPath(path), false);
        return;
    }
    Draw(MapPath(path), false, true);
}

void GdiPlayer::PolyDraw(std::span<const QPointF> points, std::span<const std::uint8_t> types) {
    const std::size_t n = std::min(points.size(), types.size());
    QPainterPath path(state_->current);
    QPointF current = state_->current;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t kind = types[i] & ~Gdi::PtCloseFigure;
        if (kind == Gdi::PtMoveTo) {
            path.moveTo(points[i]);
        } else if (kind == Gdi::PtLineTo) {
            path.lineTo(points[i]);
        } else if (kind == Gdi::PtBezierTo && i + 2 < n) {
            path.cubicTo(points[i], points[i + 1], points[i + 2]);
            i += 2;
        } else {
            return; // an invalid type draws nothing, as the platform refuses the call
        }
        current = points[i];
        if (types[i] & Gdi::PtCloseFigure) path.closeSubpath();
    }
    state_->current = current;
    if (pathOpen_) {
        AppendToPath(MapPath(path), false);
        return;
    }
    Draw(MapPath(path), false, true);
}

void GdiPlayer::Polygon(std::span<const QPointF> points) {
    if (points.size() < 2) return;
    Figure(PolygonPath(points, true), true, true);
}

void GdiPlayer::PolyPolygon(std::span<const QPointF> points, std::span<const std::uint32_t> counts) {
    QPainterPath path;
    std::size_t at = 0;
    for (std::uint32_t count : counts) {
        if (count > points.size() - at) break;
        path.addPath(PolygonPath(points.subspan(at, count), true));
        at += count;
    }
    Figure(path, true, true);
}

void GdiPlayer::PolyPolyline(std::span<const QPointF> points, std::span<const std::uint32_t> counts) {
    QPainterPath path;
    std::size_t at = 0;
    for (std::uint32_t count : counts) {
        if (count > points.size() - at) break;
        path.addPath(PolygonPath(points.subspan(at, count), false));
        at += count;
    }
    Figure(path, false, true);
}

void GdiPlayer::Rectangle(const QRectF &r) {
    QPainterPath path;
    path.addRect(r.normalized());
    Figure(path, true, true);
}

void GdiPlayer::RoundRect(const QRectF &r, QSizeF corner) {
    QPainterPath path;
    path.addRoundedRect(r.normalized(), std::abs(corner.width()) / 2, std::abs(corner.height()) / 2);
    Figure(path, true, true);
}

void GdiPlayer::Ellipse(const QRectF &r) {
    QPainterPath path;
    path.addEllipse(r.normalized());
    Figure(path, true, true);
}

// kind: 0 arc, 1 chord, 2 pie. The arc runs from the radial through `start` to the radial through
// `end`, counter-clockwise on the device unless the arc direction says clockwise.
QPainterPath GdiPlayer::ArcPath(const QRectF &box, QPointF start, QPointF end, int kind, QPointF *startOut,
                                QPointF *endOut) const {
    const QRectF r = box.normalized();
    QPainterPath path;
    if (r.width() <= 0 || r.height() <= 0) return path;
    const QPointF c = r.center();
    const double rx = r.width() / 2, ry = r.height() / 2;
    // Angles of the ellipse's parameter where the radials cross it; y grows downwards.
    const double a0 = std::atan2(-(start.y() - c.y()) / ry, (start.x() - c.x()) / rx) * 180.0 / M_PI;
    const double a1 = std::atan2(-(end.y() - c.y()) / ry, (end.x() - c.x()) / rx) * 180.0 / M_PI;
    double sweep = std::fmod(a1 - a0 + 720.0, 360.0);
    if (sweep == 0) sweep = 360.0;
    bool counterClockwise = state_->arcDirection == 1;
    const QTransform t = Total();
    if (t.m11() * t.m22() - t.m12() * t.m21() < 0) counterClockwise = !counterClockwise; // mirrored mapping
    if (!counterClockwise) sweep -= 360.0;
    if (sweep == 0) sweep = -360.0;
    auto pointAt = [&](double degrees) {
        const double rad = degrees * M_PI / 180.0;
        return QPointF(c.x() + rx * std::cos(rad), c.y() - ry * std::sin(rad));
    };
    if (startOut) *startOut = pointAt(a0);
    if (endOut) *endOut = pointAt(a0 + sweep);
    if (kind == 2) {
        path.moveTo(c);
        path.lineTo(pointAt(a0));
    } else {
        path.moveTo(pointAt(a0));
    }
    path.arcTo(r, a0, sweep);
    if (kind != 0) path.closeSubpath();
    return path;
}

void GdiPlayer::Arc(const QRectF &box, QPointF start, QPointF end) {
    Figure(ArcPath(box, start, end, 0, nullptr, nullptr), false, true);
}

void GdiPlayer::ArcTo(const QRectF &box, QPointF start, QPointF end) {
    QPointF from, to;
    const QPainterPath arc = ArcPath(box, start, end, 0, &from, &to);
    if (arc.isEmpty()) return;
    QPainterPath path(state_->current);
    path.lineTo(from);
    path.connectPath(arc);
    state_->current = to;
    if (pathOpen_) {
        AppendToPath(MapPath(path), false);
        return;
    }
    Draw(MapPath(path), false, true);
}

void GdiPlayer::Chord(const QRectF &box, QPointF start, QPointF end) {
    Figure(ArcPath(box, start, end, 1, nullptr, nullptr), true, true);
}

void GdiPlayer::Pie(const QRectF &box, QPointF start, QPointF end) {
    Figure(ArcPath(box, start, end, 2, nullptr, nullptr), true, true);
}

void GdiPlayer::AngleArc(QPointF center, double radius, double startDegrees, double sweepDegrees) {
    if (!std::isfinite(radius) || !std::isfinite(startDegrees) || !std::isfinite(sweepDegrees)) return;
    sweepDegrees = std::clamp(sweepDegrees, -3600.0, 3600.0);
    const QRectF box(center.x() - radius, center.y() - radius, 2 * radius, 2 * radius);
    QPainterPath path(state_->current);
    const double rad = startDegrees * M_PI / 180.0;
    path.lineTo(center.x() + radius * std::cos(rad), center.y() - radius * std::sin(rad));
    path.arcTo(box, startDegrees, sweepDegrees);
    state_->current = path.currentPosition();
    if (pathOpen_) {
        AppendToPath(MapPath(path), false);
        return;
    }
    Draw(MapPath(path), false, true);
}

void GdiPlayer::SetPixel(QPointF p, QRgb color) {
    if (!GdiUsableTransform(Total()) || !PrepareDraw()) return;
    const QPointF at = Total().map(p);
    if (!outputClip_.adjusted(-1, -1, 1, 1).contains(at)) return;
    painter_.fillRect(QRectF(std::floor(at.x()), std::floor(at.y()), 1, 1), QColor(color));
}

// ---- paths --------------------------------------------------------------------------------------

void GdiPlayer::BeginPath() {
    path_ = QPainterPath();
    pathOpen_ = true;
}

void GdiPlayer::EndPath() {
    pathOpen_ = false;
}

void GdiPlayer::AbortPath() {
    path_.reset();
    pathOpen_ = false;
}

void GdiPlayer::CloseFigure() {
    if (pathOpen_ && path_) path_->closeSubpath();
}

void GdiPlayer::FillPath() {
    if (pathOpen_ || !path_) return;
    QPainterPath path = *path_;
    path_.reset();
    path.setFillRule(state_->polyFillMode == 2 ? Qt::WindingFill : Qt::OddEvenFill);
    Draw(path, true, false);
}

void GdiPlayer::StrokePath() {
    if (pathOpen_ || !path_) return;
    const QPainterPath path = *path_;
    path_.reset();
    Draw(path, false, true);
}

void GdiPlayer::StrokeAndFillPath() {
    if (pathOpen_ || !path_) return;
    QPainterPath path = *path_;
    path_.reset();
    path.setFillRule(state_->polyFillMode == 2 ? Qt::WindingFill : Qt::OddEvenFill);
    Draw(path, true, true);
}

void GdiPlayer::SelectClipPath(int mode) {
    if (pathOpen_ || !path_) return;
    QPainterPath path = *path_;
    path_.reset();
    path.setFillRule(state_->polyFillMode == 2 ? Qt::WindingFill : Qt::OddEvenFill);
    QRegion region;
    const bool winding = path.fillRule() == Qt::WindingFill;
    for (const QPolygonF &polygon : path.toSubpathPolygons()) {
        const QRegion part(GdiWindowedPolygon(polygon, RegionWindow()),
                           winding ? Qt::WindingFill : Qt::OddEvenFill);
        region = winding ? region.united(part) : region.xored(part);
    }
    CombineClip(region, mode);
}
