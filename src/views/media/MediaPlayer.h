#pragma once
// The medium that plays in one window: our stand-in for the platform's media control devices
// (avivideo, waveaudio, sequencer) and the file they read. At most one device is open at a time,
// playing from the player's own copy of the resource's bytes; stopping closes the device and drops
// the copy. As with the platform's devices, one that cannot open the bytes reports nothing.
#include <QByteArray>
#include <QPointer>
#include <cstdint>
#include <memory>
#include <optional>

class MediaSound;
class QWidget;
class VideoWindow;

class MediaPlayer {
public:
    MediaPlayer();
    MediaPlayer(const MediaPlayer &) = delete;
    MediaPlayer &operator=(const MediaPlayer &) = delete;
    ~MediaPlayer();

    // Closes the open device and drops the bytes it played. Never fails.
    void Stop();

    // Each first stops what plays and keeps `bytes` as the medium. The first one loads the media
    // module; a missing or broken module raises its failure (MediaModule::Engine).
    // A clip in a hidden child window of `parent`, at the clip's own size; nullptr when the bytes
    // are no clip that can be played.
    VideoWindow *OpenVideo(QByteArray bytes, QWidget *parent);
    // A WAVE sound, playing once in the background; its length in milliseconds, or nothing when
    // the bytes are no sound that can be played.
    std::optional<std::uint32_t> PlaySound(QByteArray bytes);
    // A standard MIDI file, playing once in the background; false when it cannot be played.
    bool PlayMusic(QByteArray bytes);

    // The bytes of the medium kept since the last start; null when stopped.
    const std::shared_ptr<const QByteArray> &Medium() const { return medium_; }
    // Whether a device is open: a clip that has not been closed, or a sound or music.
    bool IsOpen() const { return !video_.isNull() || sound_ != nullptr; }

private:
    // Stops, keeps the bytes; false when they are more than a device opens.
    bool Start(QByteArray bytes);

    std::shared_ptr<const QByteArray> medium_;
    QPointer<VideoWindow> video_;
    std::unique_ptr<MediaSound> sound_;
};
