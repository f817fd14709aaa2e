#include "views/dialogs/DialogGeometry.h"

#include "formats/WindowStyles.h"
#include "views/dialogs/DialogFonts.h"

#include <cstdlib>

int MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0) return -1;
    const std::int64_t product = static_cast<std::int64_t>(number) * numerator;
    const std::int64_t d = denominator;
    const bool negative = (product < 0) != (d < 0);
    const std::int64_t magnitude = (std::llabs(product) + std::llabs(d) / 2) / std::llabs(d);
    const std::int64_t result = negative ? -magnitude : magnitude;
    if (result > INT32_MAX || result < INT32_MIN) return -1;
    return static_cast<int>(result);
}

QRect DialogUnitsToPixels(int x, int y, int cx, int cy, const DialogBaseUnits &units) {
    return {MulDiv(x, units.cx, 4), MulDiv(y, units.cy, 8), MulDiv(cx, units.cx, 4), MulDiv(cy, units.cy, 8)};
}

NonClientParts NonClientFor(std::uint32_t style, std::uint32_t exStyle, bool hasMenu) {
    using namespace Win;
    NonClientParts parts;
    const bool modalFrame = (exStyle & WS_EX_DLGMODALFRAME) != 0;
    const bool dialogFrame = (style & WS_DLGFRAME) != 0;
    const bool sizingFrame = (style & WS_THICKFRAME) != 0;
    // The frame is built from layers: a 3D edge of 2 pixels for dialog and sizing frames (or a
    // 1-pixel static edge), one more pixel of sizing border, and a last pixel of border.
    if ((exStyle & WS_EX_STATICEDGE) != 0 && !modalFrame)
        parts.frame = NonClientMetrics::kStaticEdge;
    else if (modalFrame || dialogFrame || sizingFrame)
        parts.frame = 2;
    if (sizingFrame) parts.frame += 1;
    if ((style & (WS_BORDER | WS_DLGFRAME)) != 0 || modalFrame) parts.frame += 1;

    if ((style & WS_CAPTION) == WS_CAPTION)
        parts.caption =
            (exStyle & WS_EX_TOOLWINDOW) != 0 ? NonClientMetrics::kSmallCaption : NonClientMetrics::kCaption;
    if (hasMenu) parts.menu = NonClientMetrics::kMenuBar;
    if ((exStyle & WS_EX_CLIENTEDGE) != 0) parts.clientEdge = NonClientMetrics::kClientEdge;
    if ((style & WS_VSCROLL) != 0) parts.vScroll = NonClientMetrics::kScrollBar;
    if ((style & WS_HSCROLL) != 0) parts.hScroll = NonClientMetrics::kScrollBar;
    return parts;
}
