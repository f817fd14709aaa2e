#include "system/Twips.h"

#include <QGuiApplication>
#include <QScreen>

namespace {
double Dpi(bool horizontal) {
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return 96.0;
    const double dpi = horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
    return dpi > 0 ? dpi : 96.0;
}
} // namespace

double TwipsPerPixelX() {
    return 1440.0 / Dpi(true);
}
double TwipsPerPixelY() {
    return 1440.0 / Dpi(false);
}
