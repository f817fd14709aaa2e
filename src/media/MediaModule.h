#pragma once
// The media module: a shared library of the program that lies beside its executable and holds
// every decoder and player of sound and video. It is opened the first time a medium is shown and
// never closed, so nothing of the media libraries is mapped before that.
#include <QString>

class MediaEngine;

namespace MediaModule {
// Where the module is looked for: beside the running executable.
QString Path();
// The module's engine, opening the module on the first call. Raises code 53 when there is no
// module, code 48 when it cannot be opened or belongs to another build of the program; a later
// call tries again.
MediaEngine &Engine();
// Whether the module has been opened.
bool Loaded();
} // namespace MediaModule
