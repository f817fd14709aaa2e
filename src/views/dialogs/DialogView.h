#pragma once
// The dialog preview: a dialog template of the loaded module shown as a live window in, or over,
// the display box.
#include "views/dialogs/DialogWindow.h"
#include "views/dialogs/controls/DialogControls.h"

#include <QString>
#include <memory>

class DisplayBox;

// The platform's dialog creation from the loaded module: the template of type 5 under this name,
// read, with the menu it names, and built (not shown). Nothing when there is no such template, it
// cannot be read, its menu is missing or broken, or the builder makes no window.
std::unique_ptr<DialogWindow> CreateDialogFromModule(const QString &name, QWidget *parent,
                                                     const PictureLoader &pictures);

// `name`: the dialog's name string ("#" + digits or the name). A child-style dialog lives at the
// top-left corner of the display box, which takes the dialog's size plus 24 pixels of height; a
// pop-up or overlapped dialog is a window of its own over the box's top-left corner, owned by the
// box's window. The preview goes into DialogPreviewWnd. False when no window could be made: no
// such dialog, a template that cannot be read, or a class that nothing knows.
bool ShowDialog(const QString &name, DisplayBox &display);
// The same, with the pictures of static icons and bitmaps taken from `pictures`.
bool ShowDialog(const QString &name, DisplayBox &display, const PictureLoader &pictures);
