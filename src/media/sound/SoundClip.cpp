#include "media/sound/SoundClip.h"

#include "media/sound/PcmConverter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {
constexpr int kMaxChannels = 64;
// A rate below this is no sound a device plays; converting it up would cost without bound.
constexpr int kMinSampleRate = 1000;
constexpr int kMaxSampleRate = 1'000'000;
// Decoding for one read gives up after this many packets that give no samples.
constexpr int kMaxPacketsPerRead = 10000;
// The most sample frames converted in one go.
constexpr std::int64_t kSliceOutFrames = 16384;

std::uint32_t RoundedMs(double seconds) {
    if (!std::isfinite(seconds) || seconds <= 0) return 0;
    const double ms = std::nearbyint(seconds * 1000.0);
    // The platform reports a length as a 32-bit count of milliseconds.
    return ms >= static_cast<double>(std::numeric_limits<std::uint32_t>::max())
               ? std::numeric_limits<std::uint32_t>::max()
               : static_cast<std::uint32_t>(ms);
}
} // namespace

std::unique_ptr<SoundClip> SoundClip::Open(std::shared_ptr<const QByteArray> bytes) {
    std::unique_ptr<SoundClip> clip(new SoundClip);
    clip->input_ = MemoryInput::Open(std::move(bytes), "wav");
    if (!clip->input_) return nullptr;
    AVFormatContext *format = clip->input_->context();
    // What the header leaves open (a sample format, a duration from the bit rate) is found by
    // reading a little of the stream, as FFmpeg's own probe does.
    format->probesize = 1 << 20;
    format->max_analyze_duration = 5 * AV_TIME_BASE;
    if (avformat_find_stream_info(format, nullptr) < 0) return nullptr;
    clip->stream_ = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (clip->stream_ < 0) return nullptr;
    for (unsigned i = 0; i < format->nb_streams; ++i)
        format->streams[i]->discard =
            static_cast<int>(i) == clip->stream_ ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    const AVStream *stream = format->streams[clip->stream_];
    const AVCodecParameters *par = stream->codecpar;
    if (par->ch_layout.nb_channels <= 0 || par->ch_layout.nb_channels > kMaxChannels ||
        par->sample_rate < kMinSampleRate || par->sample_rate > kMaxSampleRate)
        return nullptr;

    const AVCodec *codec = avcodec_find_decoder(par->codec_id);
    if (codec == nullptr) return nullptr;
    clip->decoder_.reset(avcodec_alloc_context3(codec));
    if (!clip->decoder_ || avcodec_parameters_to_context(clip->decoder_.get(), par) < 0) return nullptr;
    clip->decoder_->thread_count = 1;
    clip->decoder_->pkt_timebase = stream->time_base;
    if (avcodec_open2(clip->decoder_.get(), codec, nullptr) < 0) return nullptr;
    clip->packet_.reset(av_packet_alloc());
    clip->frame_.reset(av_frame_alloc());
    if (!clip->packet_ || !clip->frame_) return nullptr;

    if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0)
        clip->lengthMs_ = RoundedMs(static_cast<double>(stream->duration) * av_q2d(stream->time_base));
    else if (format->duration != AV_NOPTS_VALUE && format->duration > 0)
        clip->lengthMs_ = RoundedMs(static_cast<double>(format->duration) / AV_TIME_BASE);
    return clip;
}

SoundClip::~SoundClip() {
    av_channel_layout_uninit(&converterLayout_);
}

int SoundClip::SampleRate() const {
    return decoder_->sample_rate;
}
int SoundClip::ChannelCount() const {
    return decoder_->ch_layout.nb_channels;
}

bool SoundClip::Prepare(const QAudioFormat &format) {
    if (!PackedSampleFormat(format.sampleFormat()) || format.bytesPerFrame() <= 0) return false;
    format_ = format;
    return true;
}

void SoundClip::Produce() {
    input_->SetDeadline(std::chrono::seconds(5));
    for (int packets = 0; packets < kMaxPacketsPerRead;) {
        if (haveFrame_) {
            const AVFrame &f = *frame_;
            if (frameUsed_ < f.nb_samples) {
                // A slice at a time: a sound of a very low rate would otherwise come out of one
                // frame as hundreds of megabytes.
                const auto rateIn = static_cast<std::int64_t>(f.sample_rate);
                const auto slice = static_cast<int>(
                    std::clamp<std::int64_t>(kSliceOutFrames * rateIn / std::max(1, format_.sampleRate()), 1,
                                             f.nb_samples - frameUsed_));
                const auto format = static_cast<AVSampleFormat>(f.format);
                const int bytesPerSample = av_get_bytes_per_sample(format);
                const bool planar = av_sample_fmt_is_planar(format) != 0;
                const int planes = planar ? f.ch_layout.nb_channels : 1;
                const std::size_t step = static_cast<std::size_t>(frameUsed_) *
                                         static_cast<std::size_t>(bytesPerSample) *
                                         static_cast<std::size_t>(planar ? 1 : f.ch_layout.nb_channels);
                std::vector<const std::uint8_t *> slices(static_cast<std::size_t>(planes));
                for (int p = 0; p < planes; ++p)
                    slices[static_cast<std::size_t>(p)] = f.extended_data[p] + step;
                frameUsed_ += slice;
                Append(slices.data(), slice);
                if (pending_.size() > pendingPos_) return;
                continue;
            }
            av_frame_unref(frame_.get());
            haveFrame_ = false;
        }
        const int got = avcodec_receive_frame(decoder_.get(), frame_.get());
        if (got == 0) {
            frameUsed_ = 0;
            haveFrame_ = SetUpConverter(*frame_) &&
                         av_get_bytes_per_sample(static_cast<AVSampleFormat>(frame_->format)) > 0;
            if (!haveFrame_) av_frame_unref(frame_.get());
            continue;
        }
        if (got != AVERROR(EAGAIN) || draining_) break;
        ++packets;
        if (av_read_frame(input_->context(), packet_.get()) < 0) {
            draining_ = true;
            avcodec_send_packet(decoder_.get(), nullptr);
            continue;
        }
        if (packet_->stream_index == stream_) avcodec_send_packet(decoder_.get(), packet_.get());
        av_packet_unref(packet_.get());
    }
    // The end: what the resampler still holds comes out last.
    if (converter_) Append(nullptr, 0);
    ended_ = true;
}

bool SoundClip::SetUpConverter(const AVFrame &f) {
    const bool changed = !converter_ || f.format != converterFormat_ || f.sample_rate != converterRate_ ||
                         av_channel_layout_compare(&f.ch_layout, &converterLayout_) != 0;
    if (!changed) return true;
    // The first frame, or a stream that changes its format midway.
    av_channel_layout_uninit(&converterLayout_);
    converter_.reset();
    if (f.ch_layout.nb_channels <= 0 || f.ch_layout.nb_channels > kMaxChannels ||
        f.sample_rate < kMinSampleRate || f.sample_rate > kMaxSampleRate ||
        av_channel_layout_copy(&converterLayout_, &f.ch_layout) != 0)
        return false;
    converter_ = MakeConverter(f.ch_layout, static_cast<AVSampleFormat>(f.format), f.sample_rate, format_);
    converterFormat_ = f.format;
    converterRate_ = f.sample_rate;
    return converter_ != nullptr;
}

void SoundClip::Append(const std::uint8_t *const *input, int samples) {
    const int room = swr_get_out_samples(converter_.get(), samples);
    if (room <= 0) return;
    const std::size_t frameBytes = static_cast<std::size_t>(format_.bytesPerFrame());
    const std::size_t start = pending_.size();
    pending_.resize(start + static_cast<std::size_t>(room) * frameBytes);
    std::uint8_t *out = pending_.data() + start;
    const int made =
        swr_convert(converter_.get(), &out, room, const_cast<const std::uint8_t **>(input), samples);
    pending_.resize(start + static_cast<std::size_t>(std::max(made, 0)) * frameBytes);
}
