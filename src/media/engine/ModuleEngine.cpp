// The media module's engine: the program's requests served by the FFmpeg clips, the FluidSynth
// synthesiser and the Qt Multimedia output. The module exports nothing but ZorvikaMediaEngine.
#include "media/MediaEngine.h"
#include "media/midi/MidiSynth.h"
#include "media/midi/SoundFont.h"
#include "media/sound/PcmOutput.h"
#include "media/sound/SoundClip.h"
#include "media/video/VideoClip.h"
#include "media/video/VideoPlayer.h"
#include "system/ByteView.h"

#include <span>

namespace {
class ClipVideo final : public MediaVideo {
public:
    explicit ClipVideo(std::unique_ptr<VideoClip> clip) : player_(std::move(clip)) {}
    QSize Size() const override { return player_.Size(); }
    bool Ended() const override { return player_.Ended(); }
    void PlayRepeat(std::function<void(const QImage &, double)> show) override {
        if (started_) return;
        started_ = true;
        // The player hands its frames out on its own thread, the caller's.
        QObject::connect(&player_, &VideoPlayer::FrameDue, &player_, std::move(show));
        player_.PlayRepeat();
    }

private:
    VideoPlayer player_;
    bool started_ = false;
};

class OutputSound final : public MediaSound {
public:
    OutputSound(std::unique_ptr<PcmSource> source, std::uint32_t lengthMs)
        : output_(std::move(source)), lengthMs_(lengthMs) {}
    std::uint32_t LengthMs() const override { return lengthMs_; }
    void Play() override { output_.Play(); }

private:
    PcmOutput output_;
    std::uint32_t lengthMs_;
};

class ModuleEngine final : public MediaEngine {
public:
    std::unique_ptr<MediaVideo> OpenVideo(std::shared_ptr<const QByteArray> bytes) override {
        std::unique_ptr<VideoClip> clip = VideoClip::Open(std::move(bytes));
        if (!clip) return nullptr;
        return std::make_unique<ClipVideo>(std::move(clip));
    }
    std::unique_ptr<MediaSound> OpenSound(std::shared_ptr<const QByteArray> bytes) override {
        std::unique_ptr<SoundClip> clip = SoundClip::Open(std::move(bytes));
        if (!clip) return nullptr;
        const std::uint32_t length = clip->LengthMs();
        return std::make_unique<OutputSound>(std::move(clip), length);
    }
    std::unique_ptr<MediaSound> OpenMusic(std::shared_ptr<const QByteArray> bytes) override {
        if (!bytes) return nullptr;
        std::unique_ptr<MidiSynth> synth = MidiSynth::Open(
            AsBytes(*bytes),
            FindSoundFont());
        if (!synth) return nullptr;
        return std::make_unique<OutputSound>(std::move(synth), 0);
    }
};
} // namespace

extern "C" Q_DECL_EXPORT MediaEngine *ZorvikaMediaEngine(int interfaceVersion) {
    if (interfaceVersion != kMediaEngineVersion) return nullptr;
    static ModuleEngine engine;
    return &engine;
}
