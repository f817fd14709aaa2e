#pragma once
// The media views: an AVI clip looping in the display box, a WAVE sound or MIDI music playing
// once with a few lines of information. Each first stops whatever the window's player plays, then
// plays the resource's bytes. They return true whenever they return; a failure is raised to the
// caller.
#include "resources/ModuleCatalogue.h"

class DisplayBox;
class MediaPlayer;
struct Viewport;

bool ShowVideo(MediaPlayer &player, const ModuleCatalogue &module, const ResourceEntry &entry,
               DisplayBox &display, const Viewport &viewport);
bool ShowSound(MediaPlayer &player, const ModuleCatalogue &module, const ResourceEntry &entry,
               DisplayBox &display);
bool ShowMusic(MediaPlayer &player, const ModuleCatalogue &module, const ResourceEntry &entry,
               DisplayBox &display);
