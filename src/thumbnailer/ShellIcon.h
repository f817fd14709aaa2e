#pragma once
// The picture a file manager shows for a Windows executable or library: the icon the Windows shell
// shows for it (the first icon group in resource-directory order, where string names come before
// integer ones), in the image of that group that serves the asked size best, scaled down to fit.
#include "resources/ModuleCatalogue.h"
#include "system/Made.h"

#include "imaging/Pixels.h"

#include <cstdint>

// What one file may cost, whatever it claims: a group of every entry a directory can hold fits in
// 1 MiB; no icon image the shell draws comes near 16 MiB or 2048 pixels a side.
constexpr std::uint32_t kMaxIconGroupBytes = 1u << 20;
constexpr std::uint32_t kMaxIconImageBytes = 16u << 20;
constexpr int kMaxIconSide = 2048;
// The sizes a thumbnail may be asked for (the largest flavour of the convention is 1024).
constexpr int kMaxThumbnailSize = 1024;

// The chosen image of the module's first icon group, as decoded (alpha kept, the pixels the AND
// mask leaves out transparent); or why there is none, in words.
Made<Pixels> ShellIconImage(const ModuleCatalogue &module, int size);
// Both, for the file at `path`.
Made<Pixels> ShellIconThumbnail(const QString &path, int size);
