#include "imaging/metafile/Metafile.h"

#include "imaging/Dib.h"
#include "imaging/Picture.h"
#include "imaging/metafile/MetafileRecords.h"
#include "imaging/metafile/gdi/GdiPlayer.h"
#include "pe/ByteReader.h"
#include "system/ErrorReport.h"

#include <QPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <optional>

namespace {
constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::uint32_t kEmfSignature = 0x464D4520; // " EMF"
constexpr std::uint16_t kWmfSetWindowOrg = 0x020B;
constexpr std::uint16_t kWmfSetWindowExt = 0x020C;

struct WmfLayout {
    std::optional<QRect> box; // the placeable header's box, in logical units
    std::uint16_t unitsPerInch = 0;
    std::size_t recordsAt = 0;
    std::uint16_t objects = 0;
};

bool IsEmf(const ByteReader &r) {
    return r.contains(0, 44) && r.u32At(0) == 1 && r.u32At(40) == kEmfSignature;
}

// The placeable header (22 bytes: key, handle, box, units per inch, reserved, checksum), then the
// 18-byte METAHEADER: type 1 or 2, header size 9 words, version 0x100 or 0x300, size, object
// count, largest record, unused.
std::optional<WmfLayout> ReadWmfLayout(const ByteReader &r) {
    WmfLayout layout;
    std::size_t at = 0;
    if (r.contains(0, 4) && r.u32At(0) == kPlaceableKey) {
        if (!r.contains(0, 22)) return std::nullopt;
        const auto i16 = [&](std::size_t o) { return static_cast<std::int16_t>(r.u16At(o)); };
        layout.box = QRect(QPoint(i16(6), i16(8)), QPoint(i16(10) - 1, i16(12) - 1));
        layout.unitsPerInch = r.u16At(14);
        at = 22;
    }
    if (!r.contains(at, 18)) return std::nullopt;
    const std::uint16_t type = r.u16At(at), headerWords = r.u16At(at + 2), version = r.u16At(at + 4);
    if ((type != 1 && type != 2) || headerWords != 9 || (version != 0x0100 && version != 0x0300))
        return std::nullopt;
    layout.objects = r.u16At(at + 12);
    layout.recordsAt = at + 18;
    return layout;
}

// The first window origin and extent among the records, for a WMF without placeable header.
std::optional<QRect> FirstWindow(const ByteReader &r, std::size_t at) {
    QPoint origin;
    for (std::size_t n = 0; n < kMaxMetafileRecords && r.contains(at, 6); ++n) {
        const std::uint32_t words = r.u32At(at);
        const std::uint16_t function = r.u16At(at + 4);
        if (function == 0 || words < 3 || words > (r.size() - at) / 2) break;
        if (words >= 5) {
            const int y = static_cast<std::int16_t>(r.u16At(at + 6));
            const int x = static_cast<std::int16_t>(r.u16At(at + 8));
            if (function == kWmfSetWindowOrg) origin = QPoint(x, y);
            if (function == kWmfSetWindowExt && x != 0 && y != 0) return QRect(origin, QSize(x, y));
        }
        at += std::size_t{words} * 2;
    }
    return std::nullopt;
}

// A rectangle of 32-bit corners, kept wide so that its extents cannot overflow.
struct WideRect {
    double left = 0, top = 0, right = 0, bottom = 0;
    double width() const { return right - left; }
    double height() const { return bottom - top; }
};

struct EmfLayout {
    WideRect bounds, frame;
    QSizeF devicePixels, deviceMillimeters;
};

// EMR_HEADER: bounds (device pixels), frame (0.01 mm), signature, version, sizes, counts, then
// the reference device in pixels and millimetres, and from the extended headers on, micrometres.
std::optional<EmfLayout> ReadEmfLayout(const ByteReader &r) {
    if (!IsEmf(r) || !r.contains(0, 88)) return std::nullopt;
    const std::uint32_t headerSize = r.u32At(4);
    const auto i32 = [&](std::size_t o) { return static_cast<std::int32_t>(r.u32At(o)); };
    EmfLayout e;
    e.bounds = {double(i32(8)), double(i32(12)), double(i32(16)), double(i32(20))};
    e.frame = {double(i32(24)), double(i32(28)), double(i32(32)), double(i32(36))};
    e.devicePixels = QSizeF(i32(72), i32(76));
    e.deviceMillimeters = QSizeF(i32(80), i32(84));
    if (headerSize >= 108 && r.contains(0, 108) && i32(100) > 0 && i32(104) > 0)
        e.deviceMillimeters = QSizeF(i32(100) / 1000.0, i32(104) / 1000.0);
    if (e.devicePixels.width() <= 0 || e.devicePixels.height() <= 0 || e.deviceMillimeters.width() <= 0 ||
        e.deviceMillimeters.height() <= 0) {
        // No usable reference device: a 96-dpi screen.
        e.devicePixels = QSizeF(1024, 768);
        e.deviceMillimeters = QSizeF(1024 * 25.4 / 96, 768 * 25.4 / 96);
    }
    return e;
}

std::int32_t ToHimetric(double v) {
    if (!std::isfinite(v) || v <= 0 || v > 2e9) ErrorReport::invalidPicture();
    // A picture of less than half a unit still has a size.
    return std::max<std::int32_t>(1, static_cast<std::int32_t>(std::lround(v)));
}
} // namespace

bool LooksLikeMetafile(std::span<const std::byte> data) {
    const ByteReader r(data);
    return IsEmf(r) || ReadWmfLayout(r).has_value();
}

MetafileInfo ReadMetafileInfo(std::span<const std::byte> data) {
    const ByteReader r(data);
    MetafileInfo info;
    if (const auto emf = ReadEmfLayout(r)) {
        info.enhanced = true;
        // The frame's width and height as the platform's loader takes them, or the bounds
        // converted through the reference device when the frame is empty.
        double w = emf->frame.width();
        double h = emf->frame.height();
        if (w <= 0 || h <= 0) {
            w = emf->bounds.width() * emf->deviceMillimeters.width() * 100.0 / emf->devicePixels.width();
            h = emf->bounds.height() * emf->deviceMillimeters.height() * 100.0 / emf->devicePixels.height();
        }
        info.widthHimetric = ToHimetric(w);
        info.heightHimetric = ToHimetric(h);
        return info;
    }
    const auto wmf = ReadWmfLayout(r);
    if (!wmf) ErrorReport::invalidPicture();
    if (wmf->box) {
        if (wmf->unitsPerInch == 0) ErrorReport::invalidPicture();
        info.widthHimetric = ToHimetric(std::abs(double(wmf->box->width())) * 2540.0 / wmf->unitsPerInch);
        info.heightHimetric = ToHimetric(std::abs(double(wmf->box->height())) * 2540.0 / wmf->unitsPerInch);
        return info;
    }
    const auto window = FirstWindow(r, wmf->recordsAt);
    if (!window) ErrorReport::invalidPicture();
    info.widthHimetric = ToHimetric(PixelsToHimetric(std::abs(window->width()), true));
    info.heightHimetric = ToHimetric(PixelsToHimetric(std::abs(window->height()), false));
    return info;
}

void PlayMetafile(std::span<const std::byte> data, QPainter &painter, const QRectF &dest) {
    if (dest.isEmpty()) return;
    const ByteReader r(data);
    const QPaintDevice *device = painter.device();
    const QSizeF screenDpi(device ? device->logicalDpiX() : 96, device ? device->logicalDpiY() : 96);
    try {
        if (const auto emf = ReadEmfLayout(r)) {
            // The frame, in reference-device pixels, is stretched onto the destination.
            const double pxPerHimetricX =
                emf->devicePixels.width() / (emf->deviceMillimeters.width() * 100.0);
            const double pxPerHimetricY =
                emf->devicePixels.height() / (emf->deviceMillimeters.height() * 100.0);
            QRectF frame(QPointF(emf->frame.left * pxPerHimetricX, emf->frame.top * pxPerHimetricY),
                         QPointF(emf->frame.right * pxPerHimetricX, emf->frame.bottom * pxPerHimetricY));
            if (frame.width() <= 0 || frame.height() <= 0)
                frame = QRectF(QPointF(emf->bounds.left, emf->bounds.top),
                               QPointF(emf->bounds.right, emf->bounds.bottom));
            if (frame.width() <= 0 || frame.height() <= 0) return;
            const QTransform toOutput(dest.width() / frame.width(), 0, 0, dest.height() / frame.height(),
                                      dest.left() - frame.left() * dest.width() / frame.width(),
                                      dest.top() - frame.top() * dest.height() / frame.height());
            const QSizeF dpi(pxPerHimetricX * 2540.0, pxPerHimetricY * 2540.0);
            GdiPlayer player(painter, toOutput, dest, dpi);
            PlayEmfRecords(data, player);
            return;
        }
        const auto wmf = ReadWmfLayout(r);
        if (!wmf) return;
        const std::optional<QRect> window = wmf->box ? wmf->box : FirstWindow(r, wmf->recordsAt);
        if (!window) return;
        // As the picture object draws a metafile: its box in an anisotropic window, stretched over
        // the destination; the records' own window settings take over from there.
        GdiPlayer player(painter, QTransform(), dest, screenDpi);
        player.SetMapMode(Gdi::MmAnisotropic);
        player.SetWindowOrg(window->topLeft());
        player.SetWindowExt(QSizeF(window->width(), window->height()));
        player.SetViewportOrg(dest.topLeft());
        player.SetViewportExt(dest.size());
        PlayWmfRecords(data, wmf->recordsAt, wmf->objects, player);
    } catch (const ErrorReport &) {
        // A header cut short: nothing more to draw.
    }
}
