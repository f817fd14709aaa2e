#include "imaging/metafile/gdi/GdiPlayer.h"

#include "imaging/metafile/gdi/GdiState.h"

#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace {
// A region of more rectangles than this is cut short: a hostile file could ask for millions.
constexpr int kMaxRegionRects = 10000;

QPainterPath RegionPath(const QRegion &region) {
    QPainterPath path;
    int count = 0;
    for (const QRect &rect : region) {
        if (++count > kMaxRegionRects) break;
        path.addRect(QRectF(rect));
    }
    return path;
}
} // namespace

QRegion GdiPlayer::LogicalRectRegion(const QRectF &r) const {
    const QTransform t = Total();
    if (!GdiUsableTransform(t)) return {};
    return QRegion(GdiWindowedPolygon(t.map(QPolygonF(r.normalized())), RegionWindow()));
}

QRegion GdiPlayer::LogicalRegion(const QRegion &r) const {
    QRegion out;
    int count = 0;
    for (const QRect &rect : r) {
        if (++count > kMaxRegionRects) break;
        out = out.united(LogicalRectRegion(QRectF(rect)));
    }
    return out;
}

void GdiPlayer::CombineClip(const QRegion &region, int mode) {
    State &s = *state_;
    const QRegion everything(outputClip_.toAlignedRect().adjusted(-1, -1, 1, 1));
    const QRegion current = s.clip ? *s.clip : everything;
    switch (mode) {
    case Gdi::RgnAnd:
        s.clip = current.intersected(region);
        break;
    case Gdi::RgnOr:
        s.clip = s.clip ? current.united(region) : everything;
        break;
    case Gdi::RgnXor:
        s.clip = current.xored(region);
        break;
    case Gdi::RgnDiff:
        s.clip = current.subtracted(region);
        break;
    case Gdi::RgnCopy:
        s.clip = region;
        break;
    default:
        return;
    }
    clipDirty_ = true;
}

void GdiPlayer::IntersectClipRect(const QRectF &r) {
    CombineClip(LogicalRectRegion(r), Gdi::RgnAnd);
}

void GdiPlayer::ExcludeClipRect(const QRectF &r) {
    CombineClip(LogicalRectRegion(r), Gdi::RgnDiff);
}

void GdiPlayer::OffsetClipRegion(QPointF by) {
    if (!state_->clip) return;
    const QTransform t = Total();
    const QPointF d = t.map(by) - t.map(QPointF(0, 0));
    if (!std::isfinite(d.x()) || !std::isfinite(d.y()) || std::abs(d.x()) > 1e6 || std::abs(d.y()) > 1e6)
        return;
    state_->clip->translate(d.toPoint());
    clipDirty_ = true;
}

void GdiPlayer::SelectClipRegion(const std::optional<QRegion> &deviceRegion, int mode) {
    if (!deviceRegion) {
        if (mode == Gdi::RgnCopy) {
            state_->clip.reset();
            clipDirty_ = true;
        }
        return;
    }
    QRegion out;
    int count = 0;
    for (const QRect &rect : *deviceRegion) {
        if (++count > kMaxRegionRects) break;
        out = out.united(
            QRegion(GdiWindowedPolygon(deviceToOutput_.map(QPolygonF(QRectF(rect))), RegionWindow())));
    }
    CombineClip(out, mode);
}

void GdiPlayer::FillRegion(const QRegion &region, const GdiBrush &brush) {
    const QPainterPath path = RegionPath(region);
    if (!GdiUsableTransform(Total()) || !PrepareDraw()) return;
    const QPainterPath output = MapPath(path);
    if (brush.style == 2 && state_->bkMode == 2) painter_.fillPath(output, QColor(state_->bkColor));
    painter_.fillPath(output, OutputBrush(brush));
}

void GdiPlayer::FrameRegion(const QRegion &region, const GdiBrush &brush, QSizeF frame) {
    // The frame is the region less the region shrunk by the frame's width and height.
    QRegion inner;
    const int fw = static_cast<int>(std::clamp(std::abs(frame.width()), 0.0, 1e6));
    const int fh = static_cast<int>(std::clamp(std::abs(frame.height()), 0.0, 1e6));
    int count = 0;
    for (const QRect &rect : region) {
        if (++count > kMaxRegionRects) break;
        inner = inner.united(rect.adjusted(fw, fh, -fw, -fh));
    }
    FillRegion(region.subtracted(inner), brush);
}

void GdiPlayer::InvertRegion(const QRegion &region) {
    const QPainterPath path = RegionPath(region);
    if (!GdiUsableTransform(Total()) || !PrepareDraw()) return;
    painter_.save();
    painter_.setCompositionMode(QPainter::RasterOp_NotDestination);
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.fillPath(MapPath(path), Qt::black);
    painter_.restore();
}

void GdiPlayer::PaintRegion(const QRegion &region) {
    FillRegion(region, state_->brush);
}
