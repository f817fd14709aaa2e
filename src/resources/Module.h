#pragma once
// The window's one loaded module. At most one is loaded at a time; the tree and the window's
// decoders read from it through the wrappers that take identifier strings.
#include "resources/ModuleCatalogue.h"

#include <QString>
#include <cstdint>

// The loaded module, or nullptr when none is loaded.
const ModuleCatalogue *ModuleHandle();
// The loaded module, or the empty one when none is loaded.
const ModuleCatalogue &CurrentModule();
// Loads the file as a data module in place of the one loaded before; true when it loaded.
bool LoadModule(const QString &path);
// Counts the loads: a different number means a different module, even at the same address.
std::uint64_t ModuleLoadCount();
// Stops playback (deleting the temporary file), destroys the dialog preview, frees the module.
void ReleaseModule();
