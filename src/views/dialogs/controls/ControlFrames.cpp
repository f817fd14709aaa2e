#include "views/dialogs/controls/ControlFrames.h"

#include "formats/WindowStyles.h"

#include <QFrame>
#include <QHBoxLayout>

ControlBorder BorderOf(const DialogItem &item, bool editLike) {
    if ((item.exStyle & Win::WS_EX_CLIENTEDGE) != 0) return ControlBorder::Sunken;
    if ((item.style & Win::WS_BORDER) != 0) return editLike ? ControlBorder::Sunken : ControlBorder::Line;
    if ((item.exStyle & Win::WS_EX_STATICEDGE) != 0) return ControlBorder::StaticEdge;
    return ControlBorder::None;
}

void ApplyBorder(QFrame *frame, ControlBorder border) {
    switch (border) {
    case ControlBorder::None:
        frame->setFrameStyle(QFrame::NoFrame);
        break;
    case ControlBorder::Line:
        frame->setFrameStyle(QFrame::Box | QFrame::Plain);
        frame->setLineWidth(1);
        break;
    case ControlBorder::Sunken:
        frame->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
        break;
    case ControlBorder::StaticEdge:
        frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        frame->setLineWidth(1);
        break;
    }
}

QWidget *WrapInBorder(QWidget *inner, ControlBorder border, QWidget *parent) {
    if (border == ControlBorder::None) return inner;
    auto *frame = new QFrame(parent);
    ApplyBorder(frame, border);
    auto *layout = new QHBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    inner->setParent(frame);
    layout->addWidget(inner);
    return frame;
}

void PlaceControl(QWidget *control, QWidget *focusable, const ControlSite &site, const QRect &rect) {
    const DialogItem &item = site.item;
    control->setParent(site.parent);
    control->setGeometry(rect);
    control->setProperty("dialogItemId", static_cast<qulonglong>(item.id));
    control->setProperty("dialogClass", ControlClassName(item.windowClass));
    control->setVisible((item.style & Win::WS_VISIBLE) != 0);
    control->setEnabled((item.style & Win::WS_DISABLED) == 0);
    if (focusable != nullptr)
        focusable->setFocusPolicy((item.style & Win::WS_TABSTOP) != 0 ? Qt::StrongFocus : Qt::ClickFocus);
}
