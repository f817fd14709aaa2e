#include "imaging/metafile/gdi/GdiPlayer.h"

#include "imaging/metafile/gdi/GdiState.h"

#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

void GdiPlayer::StretchBlt(const QImage &image, const QRectF &source, const QRectF &dest, std::uint32_t rop) {
    if (image.isNull() || source.width() == 0 || source.height() == 0 || dest.width() == 0 ||
        dest.height() == 0)
        return;
    const QTransform t = Total();
    if (!GdiUsableTransform(t)) return;
    // Image pixel (u, v) lands at dest.topLeft + ((u, v) - source.topLeft) * (dest extent / source
    // extent); negative extents mirror. Only the part of the source inside the image is drawn.
    const double sx = dest.width() / source.width(), sy = dest.height() / source.height();
    const QTransform place(sx, 0, 0, sy, dest.left() - source.left() * sx, dest.top() - source.top() * sy);
    const QRectF inside = source.normalized().intersected(QRectF(image.rect()));
    if (inside.isEmpty()) return;
    if (!PrepareDraw()) return;
    painter_.save();
    switch (rop) {
    case Gdi::SrcPaint:
        painter_.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
        break;
    case Gdi::SrcAnd:
        painter_.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        break;
    case Gdi::SrcInvert:
        painter_.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        break;
    case Gdi::NotSrcCopy:
        painter_.setCompositionMode(QPainter::RasterOp_NotSource);
        break;
    default:
        painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
        break;
    }
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, state_->stretchMode == 4);
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setTransform(place * t, true);
    painter_.drawImage(inside, image, inside);
    painter_.restore();
}

void GdiPlayer::PatBlt(const QRectF &dest, std::uint32_t rop) {
    QPainterPath path;
    path.addRect(dest.normalized());
    if (!GdiUsableTransform(Total()) || !PrepareDraw()) return;
    const QPainterPath output = MapPath(path);
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    switch (rop) {
    case Gdi::Blackness:
        painter_.fillPath(output, Qt::black);
        break;
    case Gdi::Whiteness:
        painter_.fillPath(output, Qt::white);
        break;
    case Gdi::DstInvert:
        painter_.setCompositionMode(QPainter::RasterOp_NotDestination);
        painter_.fillPath(output, Qt::black);
        break;
    case Gdi::PatInvert:
        if (state_->brush.IsNull()) break;
        painter_.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter_.fillPath(output, OutputBrush(state_->brush));
        break;
    case 0x00AA0029:
        break; // the destination unchanged
    default:
        if (!state_->brush.IsNull()) painter_.fillPath(output, OutputBrush(state_->brush));
        break;
    }
    painter_.restore();
}
