// Text output of the playback engine: the selected font at the mapped size, aligned on the
// reference point, with the metafile's own character advances when it gives them.
#include "imaging/metafile/gdi/GdiPlayer.h"

#include "imaging/metafile/gdi/GdiState.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace {
constexpr double kMaxFontPixels = 4096.0;
constexpr qsizetype kMaxTextLength = 32767;
} // namespace

void GdiPlayer::TextOut(QPointF at, const QString &sourceText, std::span<const double> dx,
                        std::uint32_t options, std::optional<QRectF> rect) {
    State &s = *state_;
    const QTransform t = Total();
    if (!GdiUsableTransform(t)) return;
    const QString text = sourceText.left(kMaxTextLength);
    if (s.textAlign & Gdi::TaUpdateCp) at = s.current;

    // Scales of the mapping along x and y: the font's height follows y, its width x.
    const double xScale = std::hypot(t.m11(), t.m12());
    const double yScale = std::hypot(t.m21(), t.m22());
    if (xScale <= 0 || yScale <= 0) return;
    const GdiFont &f = s.font;
    const double deviceScale = std::sqrt(std::abs(deviceToOutput_.determinant()));
    double pixels = f.height == 0 ? 16.0 * deviceScale : std::abs(static_cast<double>(f.height)) * yScale;
    if (!std::isfinite(pixels) || pixels < 0.5) return;
    pixels = std::min(pixels, kMaxFontPixels);

    const double dpi = painter_.device() ? painter_.device()->logicalDpiY() : 96.0;
    QFont font(f.faceName.isEmpty() ? QStringLiteral("Arial") : f.faceName);
    font.setPointSizeF(pixels * 72.0 / dpi);
    font.setWeight(static_cast<QFont::Weight>(std::clamp(f.weight == 0 ? 400 : f.weight, 100, 900)));
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    font.setStrikeOut(f.strikeOut);
    if (f.height > 0) {
        // A positive height is the cell height: ascent and descent together.
        const QFontMetricsF probe(font, painter_.device());
        const double cell = probe.ascent() + probe.descent();
        if (cell > 0)
            font.setPointSizeF(std::min(font.pointSizeF() * pixels / cell, kMaxFontPixels * 72.0 / dpi));
    }
    QFontMetricsF metrics(font, painter_.device());

    // Horizontal stretch of the glyphs: an anisotropic mapping and a font width of its own.
    double stretch = xScale / yScale;
    if (f.width != 0 && metrics.averageCharWidth() > 0)
        stretch = std::abs(static_cast<double>(f.width)) * xScale / metrics.averageCharWidth();
    stretch = std::clamp(stretch, 0.01, 100.0);
    if (s.charExtra != 0) {
        font.setLetterSpacing(QFont::AbsoluteSpacing,
                              std::clamp(s.charExtra * xScale / stretch, -1000.0, 1000.0));
        metrics = QFontMetricsF(font, painter_.device());
    }

    // Pen positions of the characters along the baseline, in unstretched output units.
    std::vector<double> positions;
    double width = 0;
    if (!dx.empty()) {
        positions.reserve(static_cast<std::size_t>(text.size()));
        double x = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            positions.push_back(x);
            const double step =
                static_cast<std::size_t>(i) < dx.size() ? dx[static_cast<std::size_t>(i)] : 0.0;
            x += step * xScale / stretch;
        }
        width = x;
    } else {
        width = metrics.horizontalAdvance(text);
    }
    if (!std::isfinite(width)) return;

    double left = 0;
    switch (s.textAlign & Gdi::TaCenter) {
    case Gdi::TaRight:
        left = -width;
        break;
    case Gdi::TaCenter:
        left = -width / 2;
        break;
    default:
        break;
    }
    double baseline = 0;
    switch (s.textAlign & Gdi::TaBaseline) {
    case Gdi::TaBaseline:
        break;
    case Gdi::TaBottom:
        baseline = -metrics.descent();
        break;
    default:
        baseline = metrics.ascent();
        break;
    }

    // The text's frame: origin at the reference point, turned by the escapement (counter-clockwise
    // on the device), glyphs stretched along the baseline.
    QTransform frame;
    const QPointF origin = t.map(at);
    frame.translate(origin.x(), origin.y());
    frame.rotate(-f.escapement / 10.0);
    frame.scale(stretch, 1.0);

    if (s.textAlign & Gdi::TaUpdateCp) {
        const double advance = (s.textAlign & Gdi::TaCenter) == Gdi::TaRight    ? -width
                               : (s.textAlign & Gdi::TaCenter) == Gdi::TaCenter ? 0.0
                                                                                : width;
        const QPointF end = frame.map(QPointF(advance, 0));
        bool invertible = false;
        const QTransform back = t.inverted(&invertible);
        if (invertible) s.current = back.map(end);
    }

    if (pathOpen_) {
        QPainterPath glyphs;
        if (positions.empty()) {
            glyphs.addText(QPointF(left, baseline), font, text);
        } else {
            for (qsizetype i = 0; i < text.size(); ++i)
                glyphs.addText(QPointF(left + positions[static_cast<std::size_t>(i)], baseline), font,
                               QString(text[i]));
        }
        AppendToPath(frame.map(glyphs), true);
        return;
    }
    if (!PrepareDraw()) return;

    painter_.save();
    if (rect) {
        const QPolygonF box = t.map(QPolygonF(rect->normalized()));
        if (options & Gdi::EtoOpaque) {
            QPainterPath area;
            area.addPolygon(box);
            painter_.fillPath(area, QColor(s.bkColor));
        }
        if (options & Gdi::EtoClipped)
            painter_.setClipRegion(QRegion(GdiWindowedPolygon(box, RegionWindow())), Qt::IntersectClip);
    }
    painter_.setTransform(frame, true);
    if (s.bkMode == 2)
        painter_.fillRect(
            QRectF(left, baseline - metrics.ascent(), width, metrics.ascent() + metrics.descent()),
            QColor(s.bkColor));
    painter_.setFont(font);
    painter_.setPen(QColor(s.textColor));
    if (positions.empty()) {
        painter_.drawText(QPointF(left, baseline), text);
    } else {
        for (qsizetype i = 0; i < text.size(); ++i) {
            // A surrogate pair is drawn whole at its first unit's position.
            const bool pair = text[i].isHighSurrogate() && i + 1 < text.size();
            painter_.drawText(QPointF(left + positions[static_cast<std::size_t>(i)], baseline),
                              text.mid(i, pair ? 2 : 1));
            if (pair) ++i;
        }
    }
    painter_.restore();
}
