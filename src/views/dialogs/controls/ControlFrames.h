#pragma once
// What every control of a dialog shares: its border, its place, and the window styles that say
// whether it is visible, enabled and a tab stop.
#include "views/dialogs/controls/DialogControls.h"

class QFrame;

enum class ControlBorder { None, Line, Sunken, StaticEdge };

// The border an item's styles ask for. In dialogs of the platform's 3D look, WS_BORDER on an
// edit-like control (edits, lists, combo boxes) is drawn as a sunken client edge.
ControlBorder BorderOf(const DialogItem &item, bool editLike);
void ApplyBorder(QFrame *frame, ControlBorder border);
// `inner` inside a frame of the border, or `inner` itself when there is none.
QWidget *WrapInBorder(QWidget *inner, ControlBorder border, QWidget *parent);
// Geometry, WS_VISIBLE, WS_DISABLED and WS_TABSTOP; `focusable` is the widget that takes the focus
// (the control itself or the part of it that does), or nullptr for one that never does.
void PlaceControl(QWidget *control, QWidget *focusable, const ControlSite &site, const QRect &rect);
