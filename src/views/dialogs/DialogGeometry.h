#pragma once
// The arithmetic of dialog geometry: dialog units to pixels, and the size of a window's
// non-client parts (border, frame, caption bar, menu bar, client edge) from its styles.
#include <QMargins>
#include <QRect>
#include <cstdint>

struct DialogBaseUnits;

// number * numerator / denominator in 64 bits, rounded half away from zero, as the platform's
// MulDiv rounds; -1 for a zero denominator, as it answers too.
int MulDiv(int number, int numerator, int denominator);

// A rectangle in dialog units: x and width in quarters of the average character width, y and
// height in eighths of the character height.
QRect DialogUnitsToPixels(int x, int y, int cx, int cy, const DialogBaseUnits &units);

// The platform's metrics of window frames at 96 dpi in its classic look.
namespace NonClientMetrics {
inline constexpr int kCaption = 19;      // caption bar and the line under it
inline constexpr int kSmallCaption = 15; // tool windows
inline constexpr int kMenuBar = 19;
inline constexpr int kClientEdge = 2;
inline constexpr int kStaticEdge = 1;
inline constexpr int kScrollBar = 16;
} // namespace NonClientMetrics

struct NonClientParts {
    int frame = 0;      // the outer frame on each side: border, dialog frame or sizing frame
    int caption = 0;    // height of the caption bar, 0 without one
    int menu = 0;       // height of the menu bar, 0 without one
    int clientEdge = 0; // the sunken edge around the client area
    int vScroll = 0, hScroll = 0;

    QMargins margins() const {
        return {frame + clientEdge, frame + caption + menu + clientEdge, frame + clientEdge + vScroll,
                frame + clientEdge + hScroll};
    }
};

// What a window of these styles draws around its client area.
NonClientParts NonClientFor(std::uint32_t style, std::uint32_t exStyle, bool hasMenu);
