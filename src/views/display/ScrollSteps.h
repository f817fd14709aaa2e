#pragma once
// How far the display's picture moves for a page and for the wheel, in the scroll bars' pixels.
// The unit of both is one line printed on the display, as a text view scrolls by its lines.
#include <QPoint>
#include <QPointF>

class QWheelEvent;

// A page: the visible extent less one line, so that the line at the edge stays in sight.
int PageStep(int visible, int line);

// Turns of the wheel and swipes on a touchpad made into whole pixels of scrolling on each axis,
// as changes of the scroll bars' values (negative toward the top or left edge). A notch moves the
// desktop's number of wheel lines (three unless set otherwise); a touchpad that reports pixels
// moves by those pixels. Parts of a pixel are kept for the next event in the same direction, so a
// fine-grained wheel moves as far as a notched one.
class WheelDistance {
public:
    // `sideways`: a vertical turn moves across (Shift held, or the wheel over the horizontal bar).
    QPoint Take(const QWheelEvent &event, int line, bool sideways);

private:
    QPointF pending_;
};
