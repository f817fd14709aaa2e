#pragma once
// The dialog preview: a dialog template of a module shown as a live window in, or over, the
// display box.
#include "imaging/SystemColours.h"
#include "resources/ModuleCatalogue.h"
#include "system/Made.h"
#include "views/dialogs/DialogPreview.h"
#include "views/dialogs/DialogWindow.h"
#include "views/dialogs/controls/DialogControls.h"

#include <memory>

class DisplayBox;

using MadeDialog = Made<std::unique_ptr<DialogWindow>>;

// The platform's dialog creation from a module: the template of this entry, read, with the menu it
// names, and built (not shown); or why not: no such template, a template that cannot be read, a
// missing or broken menu, or what the builder refuses.
MadeDialog CreateDialogFromModule(const ModuleCatalogue &module, const ResourceEntry &entry, QWidget *parent,
                                  const PictureLoader &pictures);
// The pictures of a dialog's icon and bitmap controls, taken from the dialog's own module, with
// their greys in `colours`. The loader refers to the module, which must outlive it.
PictureLoader ModulePictures(const ModuleCatalogue &module, const SystemColours &colours);

// A child-style dialog lives at the top-left corner of the display box, which takes the dialog's
// size plus 24 pixels of height; a pop-up or overlapped dialog is a window of its own over the
// box's top-left corner, owned by the box's window. The dialog becomes the window's `preview`,
// with the pictures of static icons and bitmaps taken from `pictures`. False when no window could
// be made: no such dialog, a template that cannot be read, or a class that nothing knows.
bool ShowDialog(const ModuleCatalogue &module, const ResourceEntry &entry, DisplayBox &display,
                const PictureLoader &pictures, DialogPreview &preview);
