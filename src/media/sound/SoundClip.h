#pragma once
// A WAVE file read from bytes in memory and decoded, on demand, to PCM samples: every encoding
// that FFmpeg decodes (PCM of any width, ADPCM, mu-law, A-law, GSM, MP3 in WAVE, ...).
#include "media/ffmpeg/FfmpegInput.h"
#include "media/sound/PcmSource.h"

#include <cstdint>
#include <vector>

class SoundClip : public PcmSource {
public:
    // Null unless the bytes are a WAVE file with a sound stream that a decoder accepts.
    static std::unique_ptr<SoundClip> Open(std::shared_ptr<const QByteArray> bytes);
    ~SoundClip() override;

    // The stream's duration in milliseconds, rounded (halves to even); 0 when the file does not
    // tell it.
    std::uint32_t LengthMs() const { return lengthMs_; }
    int SampleRate() const;
    int ChannelCount() const;

    bool Prepare(const QAudioFormat &format) override;

private:
    SoundClip() = default;
    // Converts the next slice of the decoded frame, decoding the next packets when the frame is
    // used up, until some samples are waiting or the stream ends.
    void Produce() override;
    bool SetUpConverter(const AVFrame &frame);
    void Append(const std::uint8_t *const *input, int samples);

    std::unique_ptr<MemoryInput> input_;
    AvCodecContextPtr decoder_;
    AvPacketPtr packet_;
    AvFramePtr frame_;
    int frameUsed_ = 0; // samples of frame_ already converted
    bool haveFrame_ = false;
    SwrPtr converter_;
    AVChannelLayout converterLayout_{};
    int converterFormat_ = -1;
    int converterRate_ = 0;
    int stream_ = -1;
    std::uint32_t lengthMs_ = 0;
    bool draining_ = false;
};
