#include "imaging/metafile/gdi/GdiPlayer.h"

#include "imaging/metafile/gdi/GdiState.h"

#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace {
constexpr std::size_t kMaxSavedStates = 1024;
constexpr std::uint32_t kMaxObjects = 65536;

GdiBrush SolidBrush(QRgb color) {
    GdiBrush b;
    b.color = color;
    return b;
}

GdiPen SolidPen(QRgb color) {
    GdiPen p;
    p.color = color;
    return p;
}

GdiFont StockFont(std::uint32_t stock) {
    GdiFont f;
    f.height = -13;
    f.faceName =
        stock == 10 || stock == 11 || stock == 16 ? QStringLiteral("Courier New") : QStringLiteral("Arial");
    if (stock == 13) f.weight = 700; // the system font is bold
    return f;
}

// The 20 reserved colours of the platform's default palette.
const std::vector<QRgb> &DefaultPalette() {
    static const std::vector<QRgb> palette = {
        qRgb(0, 0, 0),       qRgb(128, 0, 0),     qRgb(0, 128, 0),     qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128),   qRgb(0, 128, 128),   qRgb(192, 192, 192),
        qRgb(192, 220, 192), qRgb(166, 202, 240), qRgb(255, 251, 240), qRgb(160, 160, 164),
        qRgb(128, 128, 128), qRgb(255, 0, 0),     qRgb(0, 255, 0),     qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255),   qRgb(0, 255, 255),   qRgb(255, 255, 255)};
    return palette;
}

} // namespace

GdiPlayer::GdiPlayer(QPainter &painter, const QTransform &deviceToOutput, const QRectF &outputClip,
                     QSizeF deviceDpi)
    : painter_(painter), deviceToOutput_(deviceToOutput), outputClip_(outputClip), deviceDpi_(deviceDpi),
      state_(std::make_unique<State>()) {
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    painter_.setClipRect(outputClip_);
    state_->font = StockFont(13);
    state_->font.weight = 400;
}

GdiPlayer::~GdiPlayer() {
    painter_.restore();
}

// ---- mapping ------------------------------------------------------------------------------------

int GdiPlayer::MapMode() const {
    return state_->mapMode;
}

void GdiPlayer::SetMapMode(int mode) {
    State &s = *state_;
    double unitsPerInch = 0;
    switch (mode) {
    case Gdi::MmText:
        s.windowExt = QSizeF(1, 1);
        s.viewportExt = QSizeF(1, 1);
        break;
    case Gdi::MmLoMetric:
        unitsPerInch = 254;
        break;
    case Gdi::MmHiMetric:
        unitsPerInch = 2540;
        break;
    case Gdi::MmLoEnglish:
        unitsPerInch = 100;
        break;
    case Gdi::MmHiEnglish:
        unitsPerInch = 1000;
        break;
    case Gdi::MmTwips:
        unitsPerInch = 1440;
        break;
    case Gdi::MmIsotropic:
    case Gdi::MmAnisotropic:
        break; // the extents of the previous mode stay
    default:
        return;
    }
    if (unitsPerInch > 0) {
        // Fixed modes: y grows upwards, units of a fixed physical size on the device.
        s.windowExt = QSizeF(unitsPerInch, unitsPerInch);
        s.viewportExt = QSizeF(deviceDpi_.width(), -deviceDpi_.height());
    }
    s.mapMode = mode;
}

void GdiPlayer::SetWindowOrg(QPointF org) {
    state_->windowOrg = org;
}
void GdiPlayer::SetViewportOrg(QPointF org) {
    state_->viewportOrg = org;
}
void GdiPlayer::OffsetWindowOrg(QPointF by) {
    state_->windowOrg += by;
}
void GdiPlayer::OffsetViewportOrg(QPointF by) {
    state_->viewportOrg += by;
}

void GdiPlayer::SetWindowExt(QSizeF ext) {
    // Extents count only in the scalable modes, and never as zero.
    if (state_->mapMode < Gdi::MmIsotropic || ext.width() == 0 || ext.height() == 0) return;
    state_->windowExt = ext;
}

void GdiPlayer::SetViewportExt(QSizeF ext) {
    if (state_->mapMode < Gdi::MmIsotropic || ext.width() == 0 || ext.height() == 0) return;
    state_->viewportExt = ext;
}

void GdiPlayer::ScaleWindowExt(double xNum, double xDenom, double yNum, double yDenom) {
    if (xDenom == 0 || yDenom == 0) return;
    SetWindowExt(
        QSizeF(state_->windowExt.width() * xNum / xDenom, state_->windowExt.height() * yNum / yDenom));
}

void GdiPlayer::ScaleViewportExt(double xNum, double xDenom, double yNum, double yDenom) {
    if (xDenom == 0 || yDenom == 0) return;
    SetViewportExt(
        QSizeF(state_->viewportExt.width() * xNum / xDenom, state_->viewportExt.height() * yNum / yDenom));
}

void GdiPlayer::SetWorldTransform(const QTransform &t) {
    if (!GdiUsableTransform(t) || !t.isInvertible()) return;
    state_->world = t;
}

void GdiPlayer::ModifyWorldTransform(const QTransform &t, std::uint32_t mode) {
    switch (mode) {
    case 1:
        state_->world = QTransform();
        break;
    case 2:
        SetWorldTransform(t * state_->world);
        break;
    case 3:
        SetWorldTransform(state_->world * t);
        break;
    case 4:
        SetWorldTransform(t);
        break;
    default:
        break;
    }
}

QTransform GdiPlayer::PageToDevice() const {
    const State &s = *state_;
    double sx = s.viewportExt.width() / s.windowExt.width();
    double sy = s.viewportExt.height() / s.windowExt.height();
    if (s.mapMode == Gdi::MmIsotropic) {
        // Isotropic: the smaller scale for both axes, each keeping its sign.
        const double m = std::min(std::abs(sx), std::abs(sy));
        sx = std::copysign(m, sx);
        sy = std::copysign(m, sy);
    }
    return QTransform(sx, 0, 0, sy, s.viewportOrg.x() - s.windowOrg.x() * sx,
                      s.viewportOrg.y() - s.windowOrg.y() * sy);
}

QTransform GdiPlayer::Total() const {
    return state_->world * PageToDevice() * deviceToOutput_;
}

double GdiPlayer::LineScale() const {
    const QTransform t = Total();
    return std::sqrt(std::abs(t.m11() * t.m22() - t.m12() * t.m21()));
}

QPainterPath GdiPlayer::MapPath(const QPainterPath &logical) const {
    return Total().map(logical);
}

// ---- saved states -------------------------------------------------------------------------------

void GdiPlayer::SaveDC() {
    if (saved_.size() >= kMaxSavedStates) return;
    saved_.push_back(*state_);
}

void GdiPlayer::RestoreDC(std::int32_t which) {
    std::size_t keep; // saved states left after the restore
    if (which < 0) {
        const auto back = static_cast<std::size_t>(-static_cast<std::int64_t>(which));
        if (back > saved_.size()) return;
        keep = saved_.size() - back;
    } else if (which > 0) {
        if (static_cast<std::size_t>(which) > saved_.size()) return;
        keep = static_cast<std::size_t>(which) - 1;
    } else {
        return;
    }
    *state_ = saved_[keep];
    saved_.resize(keep);
    clipDirty_ = true;
}

// ---- attributes ---------------------------------------------------------------------------------

void GdiPlayer::SetBkMode(int mode) {
    if (mode == 1 || mode == 2) state_->bkMode = mode;
}
void GdiPlayer::SetBkColor(QRgb color) {
    state_->bkColor = color;
}
void GdiPlayer::SetTextColor(QRgb color) {
    state_->textColor = color;
}
void GdiPlayer::SetTextAlign(std::uint32_t align) {
    state_->textAlign = align;
}
void GdiPlayer::SetPolyFillMode(int mode) {
    if (mode == 1 || mode == 2) state_->polyFillMode = mode;
}
void GdiPlayer::SetRop2(int rop) {
    if (rop >= 1 && rop <= 16) state_->rop2 = rop;
}
void GdiPlayer::SetStretchBltMode(int mode) {
    state_->stretchMode = mode;
}
void GdiPlayer::SetArcDirection(int direction) {
    if (direction == 1 || direction == 2) state_->arcDirection = direction;
}
void GdiPlayer::SetMiterLimit(double limit) {
    if (std::isfinite(limit) && limit >= 1) state_->miterLimit = std::min(limit, 1000.0);
}
void GdiPlayer::SetTextCharExtra(double extra) {
    if (std::isfinite(extra)) state_->charExtra = extra;
}
void GdiPlayer::SetBrushOrg(QPointF org) {
    state_->brushOrg = org;
}

// ---- objects ------------------------------------------------------------------------------------

void GdiPlayer::PutObject(std::uint32_t index, GdiObject object) {
    if (index >= kMaxObjects) return;
    if (objects_.size() <= index) objects_.resize(index + 1);
    objects_[index] = std::move(object);
}

const GdiObject *GdiPlayer::Object(std::uint32_t index) const {
    if (index >= objects_.size() || !objects_[index]) return nullptr;
    return &*objects_[index];
}

std::optional<std::uint32_t> GdiPlayer::FreeIndex(std::uint32_t limit) const {
    limit = std::min(limit, kMaxObjects);
    for (std::uint32_t i = 0; i < limit; ++i)
        if (i >= objects_.size() || !objects_[i]) return i;
    return std::nullopt;
}

void GdiPlayer::SelectObject(std::uint32_t index) {
    const GdiObject *object = Object(index);
    if (object == nullptr) return;
    State &s = *state_;
    if (const auto *pen = std::get_if<GdiPen>(object))
        s.pen = *pen;
    else if (const auto *brush = std::get_if<GdiBrush>(object))
        s.brush = *brush;
    else if (const auto *font = std::get_if<GdiFont>(object))
        s.font = *font;
    else if (std::holds_alternative<GdiPalette>(*object))
        s.palette = index;
    else if (const auto *region = std::get_if<GdiRegion>(object)) {
        // Selecting a region makes a copy of it the clip region.
        s.clip = LogicalRegion(region->region);
        clipDirty_ = true;
    }
}

void GdiPlayer::DeleteObject(std::uint32_t index) {
    if (index < objects_.size()) objects_[index].reset();
}

void GdiPlayer::SelectStockObject(std::uint32_t stock) {
    State &s = *state_;
    switch (stock) {
    case 0:
        s.brush = SolidBrush(qRgb(255, 255, 255));
        break;
    case 1:
        s.brush = SolidBrush(qRgb(192, 192, 192));
        break;
    case 2:
        s.brush = SolidBrush(qRgb(128, 128, 128));
        break;
    case 3:
        s.brush = SolidBrush(qRgb(64, 64, 64));
        break;
    case 4:
        s.brush = SolidBrush(qRgb(0, 0, 0));
        break;
    case 5:
        s.brush = GdiBrush{1, 0, 0, {}};
        break;
    case 6:
        s.pen = SolidPen(qRgb(255, 255, 255));
        break;
    case 7:
        s.pen = SolidPen(qRgb(0, 0, 0));
        break;
    case 8:
        s.pen = GdiPen{5, 0, 0, true, {}};
        break;
    case 10:
    case 11:
    case 12:
    case 13:
    case 14:
    case 16:
    case 17:
        s.font = StockFont(stock);
        break;
    case 15:
        s.palette.reset();
        break;
    case 18:
        s.brush = SolidBrush(qRgb(255, 255, 255));
        break;
    case 19:
        s.pen = SolidPen(qRgb(0, 0, 0));
        break;
    default:
        break;
    }
}

std::vector<QRgb> GdiPlayer::PaletteEntries() const {
    if (state_->palette)
        if (const GdiObject *object = Object(*state_->palette))
            if (const auto *palette = std::get_if<GdiPalette>(object)) return palette->entries;
    return DefaultPalette();
}

void GdiPlayer::SetPaletteEntries(std::uint32_t index, std::uint32_t start, std::span<const QRgb> entries) {
    if (index >= objects_.size() || !objects_[index]) return;
    auto *palette = std::get_if<GdiPalette>(&*objects_[index]);
    if (palette == nullptr) return;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::size_t at = start + i;
        if (at < palette->entries.size()) palette->entries[at] = entries[i];
    }
}
