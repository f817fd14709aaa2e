// The display area of the main window: clearing it, the scroll bars that follow the size of
// PDisplay, and the tree events that clear it.
#include "app/FrmMain.h"
#include "resources/tree/ResourceTreeModel.h"
#include "system/ErrorReport.h"
#include "system/Twips.h"
#include "views/display/DisplayBox.h"
#include "views/display/TextBox.h"

#include <QEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QWheelEvent>

void FrmMain::ClearDisplay() {
    Session.media.Stop();
    Session.preview.Destroy();
    PDisplay->Cls();
    PDisplay->repaint();
    // Half the frame's size: both scroll bars switch off.
    PDisplay->Move(PDisplay->x(), PDisplay->y(), TwipsToPixelsX(PixelsToTwipsX(PFrame->width()) / 2),
                   TwipsToPixelsY(PixelsToTwipsY(PFrame->height()) / 2));
    LInformation->setText(QString());
    TStrings->setText(QString());
    TStrings->hide();
}

void FrmMain::PDisplay_Resize() {
    const double width = PixelsToTwipsX(PDisplay->width());
    const double height = PixelsToTwipsY(PDisplay->height());
    const Viewport &viewport = Session.viewport;
    HScroll->setEnabled(width > viewport.width);
    VScroll->setEnabled(height > viewport.height);
    // The range is what lies beyond the visible area, in whole pixels; the value goes back to 0.
    // A page is the visible size less a line, worked out only once a bar is on: the display's font
    // is not loaded at start-up for it.
    if (HScroll->isEnabled()) {
        HScroll->setPageStep(PageStep(TwipsToPixelsX(viewport.width), DisplayLine()));
        HScroll->setValue(0);
        HScroll->setMaximum(CheckedCast<std::int16_t>(RoundHalfEven(width - viewport.width) /
                                                      RoundHalfEven(TwipsPerPixelX())));
    }
    if (VScroll->isEnabled()) {
        VScroll->setPageStep(PageStep(TwipsToPixelsY(viewport.height), DisplayLine()));
        VScroll->setValue(0);
        VScroll->setMaximum(CheckedCast<std::int16_t>(RoundHalfEven(height - viewport.height) /
                                                      RoundHalfEven(TwipsPerPixelY())));
    }
}

void FrmMain::HScroll_Change() {
    PDisplay->Move(TwipsToPixelsX(-HScroll->value() * TwipsPerPixelX()), PDisplay->y(), PDisplay->width(),
                   PDisplay->height());
}

void FrmMain::VScroll_Change() {
    PDisplay->Move(PDisplay->x(), TwipsToPixelsY(-VScroll->value() * TwipsPerPixelY()), PDisplay->width(),
                   PDisplay->height());
}

bool FrmMain::eventFilter(QObject *watched, QEvent *event) {
    // The scroll bars never keep the keyboard focus: it goes on to the display at once.
    if (event->type() == QEvent::FocusIn && (watched == HScroll || watched == VScroll)) PDisplay->setFocus();
    // With the focus, the display scrolls by its keys as a click on the scroll bars would.
    if (event->type() == QEvent::KeyPress && watched == PDisplay &&
        ScrollDisplayByKey(*static_cast<QKeyEvent *>(event)))
        return true;
    // The wheel anywhere in the display area, its scroll bars included, moves the picture by the
    // same steps; what a child of the display (a previewed dialog's list) leaves comes here too.
    if (event->type() == QEvent::Wheel &&
        (watched == PDisplay || watched == HScroll || watched == VScroll || watched == frameClient_)) {
        ScrollDisplayByWheel(watched, *static_cast<QWheelEvent *>(event));
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

int FrmMain::DisplayLine() const {
    return QFontMetrics(PDisplay->font()).height();
}

void FrmMain::ScrollDisplayByWheel(const QObject *over, const QWheelEvent &wheel) {
    // Sideways with Shift, over the horizontal bar, or when only that bar is on.
    const bool sideways = (wheel.modifiers() & Qt::ShiftModifier) ||
                          (over == HScroll && HScroll->isEnabled()) || !VScroll->isEnabled();
    const QPoint by = wheelDistance_.Take(wheel, DisplayLine(), sideways);
    if (by.x() != 0 && HScroll->isEnabled()) HScroll->setValue(HScroll->value() + by.x());
    if (by.y() != 0 && VScroll->isEnabled()) VScroll->setValue(VScroll->value() + by.y());
}

bool FrmMain::ScrollDisplayByKey(const QKeyEvent &key) {
    if (key.modifiers() & ~Qt::KeypadModifier) return false;
    // Arrows: the bars' arrow buttons (small change, a pixel). Page Up and Down: a click on the
    // track (large change, a visible page less a line). Home and End: the ends. Pages and ends go
    // up and down, or left and right when only the horizontal bar is on.
    QScrollBar *pages = VScroll->isEnabled() ? VScroll : HScroll;
    QScrollBar *bar = nullptr;
    QAbstractSlider::SliderAction action = QAbstractSlider::SliderNoAction;
    switch (key.key()) {
    case Qt::Key_Left:
        bar = HScroll, action = QAbstractSlider::SliderSingleStepSub;
        break;
    case Qt::Key_Right:
        bar = HScroll, action = QAbstractSlider::SliderSingleStepAdd;
        break;
    case Qt::Key_Up:
        bar = VScroll, action = QAbstractSlider::SliderSingleStepSub;
        break;
    case Qt::Key_Down:
        bar = VScroll, action = QAbstractSlider::SliderSingleStepAdd;
        break;
    case Qt::Key_PageUp:
        bar = pages, action = QAbstractSlider::SliderPageStepSub;
        break;
    case Qt::Key_PageDown:
        bar = pages, action = QAbstractSlider::SliderPageStepAdd;
        break;
    case Qt::Key_Home:
        bar = pages, action = QAbstractSlider::SliderToMinimum;
        break;
    case Qt::Key_End:
        bar = pages, action = QAbstractSlider::SliderToMaximum;
        break;
    default:
        return false;
    }
    if (bar->isEnabled()) bar->triggerAction(action);
    return true;
}

void FrmMain::Expand(const QModelIndex &node) {
    TreeModel->Expand(node);
}

void FrmMain::Collapse(const QModelIndex &) {
    ClearDisplay();
}
