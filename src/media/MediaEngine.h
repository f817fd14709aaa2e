#pragma once
// What the program asks of the media module: AVI clips that loop, WAVE sounds and MIDI music that
// play once. The decoders and players live in a shared module of the program that is opened the
// first time a medium is shown (MediaModule), so that start-up maps none of FFmpeg, FluidSynth
// and Qt Multimedia. Only this header is shared by the two sides: abstract classes over Qt value
// types, nothing of the decoders' libraries. The program deletes what the module makes; the module
// stays loaded until the process ends, so its code outlives every object it made.
#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QtGlobal>
#include <cstdint>
#include <functional>
#include <memory>

// The largest media file a device opens; a resource is never this large.
inline constexpr qsizetype kMaxMediaFileBytes = 256 * 1024 * 1024;

// A clip ready to play, decoding nothing until it is started.
class MediaVideo {
public:
    virtual ~MediaVideo() = default;
    // The size of the clip's frames as its header gives it, in pixels.
    virtual QSize Size() const = 0;
    // Starts the endless loop from the first frame. Each frame is handed to `show` on the thread
    // that called this, when its time has come, with its place on the play's time line; a clip
    // that no decoder reads hands out nothing. A second call changes nothing.
    virtual void PlayRepeat(std::function<void(const QImage &frame, double dueMs)> show) = 0;
    // Whether the loop has given up: a clip that no decoder reads hands out nothing and ends at
    // once; any other plays on until it is destroyed.
    virtual bool Ended() const = 0;
};

// A sound or a piece of music ready to play once, in the background.
class MediaSound {
public:
    virtual ~MediaSound() = default;
    // The length in milliseconds, rounded (halves to even); 0 when the file does not tell it.
    virtual std::uint32_t LengthMs() const = 0;
    // Starts playing and returns at once; without an output device nothing is heard and nothing
    // is reported. A second call changes nothing.
    virtual void Play() = 0;
};

class MediaEngine {
public:
    // Each gives null when the bytes are not a file of its kind that can be played: an AVI file
    // with a video stream, a WAVE file with a sound a decoder accepts, a standard MIDI file (with
    // a General MIDI sound font on the system).
    virtual std::unique_ptr<MediaVideo> OpenVideo(std::shared_ptr<const QByteArray> bytes) = 0;
    virtual std::unique_ptr<MediaSound> OpenSound(std::shared_ptr<const QByteArray> bytes) = 0;
    virtual std::unique_ptr<MediaSound> OpenMusic(std::shared_ptr<const QByteArray> bytes) = 0;

protected:
    ~MediaEngine() = default;
};

// The module's one exported function: its engine when `interfaceVersion` is the version of this
// header that the module was built with, else null. Raise the version whenever anything above
// changes, so that a module of another build is refused instead of called.
inline constexpr int kMediaEngineVersion = 2;
inline constexpr char kMediaEngineEntry[] = "ZorvikaMediaEngine";
using MediaEngineEntry = MediaEngine *(int interfaceVersion);
