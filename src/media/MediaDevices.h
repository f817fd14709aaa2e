#pragma once
// The media devices that are open at this moment: our stand-in for the named devices of the
// platform's media control interface. A view that starts playback registers the objects that
// play; closing all of them stops every sound and video at once.
#include <QObject>

namespace MediaDevices {
void Register(QObject *device);
// Deletes every registered device that still exists.
void CloseAll();
bool AnyOpen();
} // namespace MediaDevices
