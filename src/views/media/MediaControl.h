#pragma once
// Our stand-in for the platform's media control interface: the three devices that the media
// views open by their aliases ("video" for AVI clips, "sound" for WAVE files, "music" for MIDI
// files) and the commands the views send them. As with the platform's interface, a command that
// fails does nothing and reports nothing; the queries then give an empty reply. Closing is
// MediaDevices::CloseAll, which StopPlayback runs: every device is registered there.
#include <QString>

class QWidget;

namespace MediaControl {
enum class Device { Video, Sound, Music };

// "open <path> type avivideo|waveaudio|sequencer alias video|sound|music [parent <window> style
// child]". Reads the whole file now, so the device plays on if the file is later removed. The
// video window is made a hidden child of `parent`. True when the device opened; the views do not
// look. A device opened while another is still open closes that one first: one at a time. The
// first open loads the media module; a module that is missing or cannot be loaded raises its
// failure (MediaModule::Engine), which the view passes to its caller.
bool Open(Device device, const QString &path, QWidget *parent = nullptr);

// "where video destination": "left top width height" of the picture inside the video window, in
// pixels; empty when no video is open.
QString WhereVideoDestination();
// "put video window at x y w h": the video window's place and size in its parent, in pixels.
void PutVideoWindowAt(int x, int y, int width, int height);
// "play video repeat": the clip in an endless loop, until the device is closed.
void PlayVideoRepeat();
// "play sound", "play music": once, in the background.
void Play(Device device);
// "status sound length": the sound's length in milliseconds; empty when no sound is open.
QString StatusSoundLength();
} // namespace MediaControl
