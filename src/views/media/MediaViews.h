#pragma once
// The media views: an AVI clip looping in the display box, a WAVE sound or MIDI music playing
// once with a few lines of information. Each first stops whatever plays, then goes through the
// temporary file. They return true whenever they return; a failure is raised to the caller.
#include "resources/ModuleCatalogue.h"

#include <QString>

class DisplayBox;

bool ShowVideo(const ModuleCatalogue &module, const ResourceEntry &entry, DisplayBox &display);
bool ShowSound(const ModuleCatalogue &module, const ResourceEntry &entry, DisplayBox &display);
bool ShowMusic(const ModuleCatalogue &module, const ResourceEntry &entry, DisplayBox &display);

// The numeric value at the start of a reply, as the program reads numbers out of text: blanks are
// passed over, then a sign, digits, a decimal point and an exponent are taken as far as they go;
// 0 when there is no number.
double ReplyNumber(const QString &text);
