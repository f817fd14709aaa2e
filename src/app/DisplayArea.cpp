// The display area of the main window: clearing it, the scroll bars that follow the size of
// PDisplay, and the tree events that clear it.
#include "app/FrmMain.h"
#include "resources/DialogPreviewWnd.h"
#include "resources/Playback.h"
#include "resources/tree/ResourceTree.h"
#include "system/ErrorReport.h"
#include "system/Twips.h"
#include "views/display/DisplayBox.h"
#include "views/display/TextBox.h"
#include "views/display/Viewport.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QScrollBar>

void FrmMain::ClearDisplay() {
    StopPlayback();
    DestroyDialogPreview();
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
    HScroll->setEnabled(width > ViewportWidth);
    VScroll->setEnabled(height > ViewportHeight);
    // The range is what lies beyond the visible area, in whole pixels; the value goes back to 0.
    if (HScroll->isEnabled()) {
        HScroll->setValue(0);
        HScroll->setMaximum(CheckedCast<std::int16_t>(RoundHalfEven(width - ViewportWidth) /
                                                      RoundHalfEven(TwipsPerPixelX())));
    }
    if (VScroll->isEnabled()) {
        VScroll->setValue(0);
        VScroll->setMaximum(CheckedCast<std::int16_t>(RoundHalfEven(height - ViewportHeight) /
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
    return QMainWindow::eventFilter(watched, event);
}

void FrmMain::Expand(QStandardItem *node) {
    ExpandNode(*TreeModel, node);
}

void FrmMain::Collapse(QStandardItem *) {
    ClearDisplay();
}
