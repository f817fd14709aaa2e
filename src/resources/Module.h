#pragma once
// The one loaded module. At most one is loaded at a time; the tree, the raw access and every
// decoder read from it.
#include "pe/PeImage.h"

#include <QString>

// The loaded module, or nullptr when none is loaded.
const PeImage *ModuleHandle();
// Loads the file as a data module; true when it loaded. Does not release an earlier module.
bool LoadModule(const QString &path);
// Stops playback (deleting the temporary file), destroys the dialog preview, frees the module.
void ReleaseModule();
