#pragma once
// Our stand-in for the platform's dialog creation: a template made into a live window with all
// its controls.
#include "formats/DialogTemplate.h"
#include "formats/MenuTemplate.h"
#include "system/Made.h"
#include "views/dialogs/DialogWindow.h"
#include "views/dialogs/controls/DialogControls.h"

#include <memory>

class QWidget;

// A child-style template (WS_CHILD) becomes a child of `parent`; a pop-up or overlapped one a
// top-level window owned by the window of `parent`. Nothing (nullptr) when the dialog or one of
// its controls names a class that no part of the builder knows, as the platform fails for a class
// that is not registered, and when the controls would need more than the platform's quota of
// 10,000 windows (counted in widgets). The window is not shown yet. No size exceeds what the
// screen allows. `menu`: the menu the template names, loaded from the module; a template that
// names a menu gets no window without it, as the platform fails when the menu does not load.
std::unique_ptr<DialogWindow> CreateDialogWindow(const DialogTemplate &dialog, QWidget *parent,
                                                 const PictureLoader &pictures, const Menu *menu = nullptr);
// The same, saying why no window was made: an unknown window or control class (1407), a template
// past the quota (1816), a missing or broken menu (1401).
Made<std::unique_ptr<DialogWindow>> BuildDialogWindow(const DialogTemplate &dialog, QWidget *parent,
                                                      const PictureLoader &pictures,
                                                      const Menu *menu = nullptr);

// The largest outer size a preview gets: the available area of the screen.
QSize MaximumPreviewSize(const QWidget *parent);
