#pragma once
// The state of one device context during playback: what SaveDC keeps and RestoreDC brings back.
#include "imaging/metafile/gdi/GdiObjects.h"
#include "imaging/metafile/gdi/GdiPlayer.h"

#include <QPointF>
#include <QPolygon>
#include <QPolygonF>
#include <QRegion>
#include <QSizeF>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <optional>

struct GdiPlayer::State {
    int mapMode = Gdi::MmText;
    QPointF windowOrg{0, 0};
    QSizeF windowExt{1, 1};
    QPointF viewportOrg{0, 0};
    QSizeF viewportExt{1, 1};
    QTransform world;

    // A new device context holds the black pen, the white brush and the system font.
    GdiPen pen;
    GdiBrush brush;
    GdiFont font;
    std::optional<std::uint32_t> palette; // index of the selected palette; none: the default one

    int bkMode = 2; // opaque
    QRgb bkColor = qRgb(255, 255, 255);
    QRgb textColor = qRgb(0, 0, 0);
    std::uint32_t textAlign = 0;
    int polyFillMode = 1; // alternate
    int rop2 = 13;        // R2_COPYPEN
    int stretchMode = 1;
    int arcDirection = 1; // counter-clockwise
    double miterLimit = 10;
    double charExtra = 0;
    QPointF current{0, 0};
    QPointF brushOrg{0, 0};
    std::optional<QRegion> clip; // output coordinates; none: no clip region
};

// A mapping the engine can draw through: finite and of sane magnitude.
inline bool GdiUsableTransform(const QTransform &t) {
    for (double v : {t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy()})
        if (!std::isfinite(v) || std::abs(v) > 1e12) return false;
    return true;
}

// Regions are whole pixels of 32 bits, and Qt's polygon regions misbehave far from the origin: a
// polygon is cut to `window` (a rectangle around everything that can be drawn) before it becomes
// whole pixels. Inside the window nothing changes.
inline QPolygon GdiWindowedPolygon(const QPolygonF &polygon, const QRectF &window) {
    for (const QPointF &p : polygon)
        if (!std::isfinite(p.x()) || !std::isfinite(p.y())) return {};
    const QPolygonF inside =
        window.contains(polygon.boundingRect()) ? polygon : polygon.intersected(QPolygonF(window));
    return inside.toPolygon();
}
