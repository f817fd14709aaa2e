#include "views/display/ScrollSteps.h"

#include <QGuiApplication>
#include <QStyleHints>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

int PageStep(int visible, int line) {
    return std::max(1, visible - line);
}

namespace {
// Whole pixels out of what is pending; a part left over in the other direction is dropped.
int TakeWhole(double &pending, double more) {
    if ((pending < 0 && more > 0) || (pending > 0 && more < 0)) pending = 0;
    pending += more;
    const double whole = std::trunc(pending);
    pending -= whole;
    return static_cast<int>(whole);
}
} // namespace

QPoint WheelDistance::Take(const QWheelEvent &event, int line, bool sideways) {
    // A wheel's angle comes in eighths of a degree, 120 to the notch; content follows the wheel,
    // so a turn away from the person (positive) moves toward the top.
    QPointF by;
    if (!event.pixelDelta().isNull()) {
        by = -QPointF(event.pixelDelta());
    } else {
        const double perNotch = QGuiApplication::styleHints()->wheelScrollLines() * line;
        by = -QPointF(event.angleDelta()) * perNotch / 120.0;
    }
    if (sideways && by.x() == 0) by = QPointF(by.y(), 0);
    return {TakeWhole(pending_.rx(), by.x()), TakeWhole(pending_.ry(), by.y())};
}
