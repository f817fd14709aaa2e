#include "media/video/VideoClip.h"

#include <algorithm>
#include <cmath>

namespace {
// Frames closer than this are shown no faster; a corrupt rate cannot make the player spin.
constexpr double kMinFrameMs = 5;
// Nor is a frame held for longer than this.
constexpr double kMaxFrameMs = 60000;
// Reading one frame gives up after this many packets or this long.
constexpr int kMaxPacketsPerFrame = 100000;
constexpr auto kFrameTimeLimit = std::chrono::seconds(5);

double ClampFrameMs(double ms) {
    if (!std::isfinite(ms)) return kMaxFrameMs;
    return std::clamp(ms, kMinFrameMs, kMaxFrameMs);
}
} // namespace

std::unique_ptr<VideoClip> VideoClip::Open(std::shared_ptr<const QByteArray> bytes) {
    std::unique_ptr<VideoClip> clip(new VideoClip);
    clip->bytes_ = std::move(bytes);
    if (!clip->OpenStream()) return nullptr;
    return clip;
}

VideoClip::~VideoClip() = default;

bool VideoClip::OpenStream() {
    decoder_.reset();
    input_ = MemoryInput::Open(bytes_, "avi");
    if (!input_) return false;
    AVFormatContext *format = input_->context();
    stream_ = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (stream_ < 0) return false;
    for (unsigned i = 0; i < format->nb_streams; ++i)
        format->streams[i]->discard = static_cast<int>(i) == stream_ ? AVDISCARD_DEFAULT : AVDISCARD_ALL;

    const AVStream *stream = format->streams[stream_];
    const AVCodecParameters *par = stream->codecpar;
    // The AVI header's frame size; a bottom-up frame is stored with a negative height.
    const int width = par->width;
    const int height = std::abs(par->height);
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
        static_cast<std::int64_t>(width) * height > kMaxPixels)
        return false;
    size_ = QSize(width, height);
    timeBase_ = stream->time_base;

    // AVI counts its time in frames: dwScale / dwRate seconds a frame.
    double frameMs = 0;
    if (stream->avg_frame_rate.num > 0 && stream->avg_frame_rate.den > 0)
        frameMs = 1000.0 / av_q2d(stream->avg_frame_rate);
    else if (timeBase_.num > 0 && timeBase_.den > 0)
        frameMs = 1000.0 * av_q2d(timeBase_);
    frameDurationMs_ = frameMs > 0 ? ClampFrameMs(frameMs) : 100;

    packet_.reset(av_packet_alloc());
    frame_.reset(av_frame_alloc());
    if (!packet_ || !frame_) return false;
    draining_ = false;
    ended_ = false;
    firstPts_ = AV_NOPTS_VALUE;
    nextTimeMs_ = 0;

    const AVCodec *codec = avcodec_find_decoder(par->codec_id);
    if (codec == nullptr) return true;
    AvCodecContextPtr decoder(avcodec_alloc_context3(codec));
    if (!decoder || avcodec_parameters_to_context(decoder.get(), par) < 0) return true;
    decoder->thread_count = 1;
    decoder->max_pixels = kMaxPixels;
    decoder->pkt_timebase = timeBase_;
    if (avcodec_open2(decoder.get(), codec, nullptr) < 0) return true;
    decoder_ = std::move(decoder);
    return true;
}

bool VideoClip::Rewind() {
    // Reopening gives back the header's palette, which seeking would not restore after the clip
    // has changed it.
    const QSize size = size_;
    if (!OpenStream()) return false;
    return size_ == size;
}

std::optional<VideoFrame> VideoClip::NextFrame() {
    if (!decoder_ || ended_) return std::nullopt;
    input_->SetDeadline(kFrameTimeLimit);
    const auto deadline = std::chrono::steady_clock::now() + kFrameTimeLimit;
    for (int packets = 0; packets < kMaxPacketsPerFrame; ++packets) {
        const int got = avcodec_receive_frame(decoder_.get(), frame_.get());
        if (got == 0) {
            std::optional<VideoFrame> converted = Convert(*frame_);
            av_frame_unref(frame_.get());
            if (converted) return converted;
            continue; // a frame that cannot be shown is passed over
        }
        if (got != AVERROR(EAGAIN) || draining_) break; // the end, or a decoder that gave up
        if (std::chrono::steady_clock::now() > deadline) break;

        const int read = av_read_frame(input_->context(), packet_.get());
        if (read < 0) {
            // The end of the file: what the decoder still holds comes out.
            draining_ = true;
            avcodec_send_packet(decoder_.get(), nullptr);
            continue;
        }
        if (packet_->stream_index == stream_) {
            // A packet the decoder refuses is skipped, as a player skips a damaged frame.
            avcodec_send_packet(decoder_.get(), packet_.get());
        }
        av_packet_unref(packet_.get());
    }
    ended_ = true;
    return std::nullopt;
}

std::optional<VideoFrame> VideoClip::Convert(const AVFrame &frame) {
    const auto format = static_cast<AVPixelFormat>(frame.format);
    if (frame.width <= 0 || frame.height <= 0 || frame.width > kMaxSide || frame.height > kMaxSide ||
        static_cast<std::int64_t>(frame.width) * frame.height > kMaxPixels || !sws_isSupportedInput(format))
        return std::nullopt;
    // Same size, RGB 8:8:8 out, and the scaler flags that FFmpeg's command line uses, so a frame
    // here is pixel for pixel what the command line decodes. One scaler serves while the frames
    // keep their size and format, rewinds included: FFmpeg's own cache would build a new one for
    // every palette frame, as it compares with settings that the scaler adjusts when it is made.
    const QSize size(frame.width, frame.height);
    if (!scaler_ || size != scalerSize_ || format != scalerFormat_) {
        scaler_.reset(sws_getContext(frame.width, frame.height, format, frame.width, frame.height,
                                     AV_PIX_FMT_RGB24, SWS_BICUBIC, nullptr, nullptr, nullptr));
        scalerSize_ = size;
        scalerFormat_ = format;
    }
    if (!scaler_) return std::nullopt;
    QImage image(frame.width, frame.height, QImage::Format_RGB888);
    if (image.isNull()) return std::nullopt;
    std::uint8_t *const dst[4] = {image.bits(), nullptr, nullptr, nullptr};
    const int dstStride[4] = {static_cast<int>(image.bytesPerLine()), 0, 0, 0};
    if (sws_scale(scaler_.get(), frame.data, frame.linesize, 0, frame.height, dst, dstStride) != frame.height)
        return std::nullopt;

    VideoFrame out;
    out.image = std::move(image);
    const std::int64_t pts = frame.best_effort_timestamp;
    if (pts != AV_NOPTS_VALUE && timeBase_.num > 0 && timeBase_.den > 0) {
        if (firstPts_ == AV_NOPTS_VALUE) firstPts_ = pts;
        // In doubles: hostile time stamps may lie far apart.
        out.timeMs = (static_cast<double>(pts) - static_cast<double>(firstPts_)) * 1000.0 * av_q2d(timeBase_);
    } else {
        out.timeMs = nextTimeMs_;
    }
    if (!std::isfinite(out.timeMs)) out.timeMs = nextTimeMs_;
    out.durationMs = frameDurationMs_;
    if (frame.pkt_duration > 0 && timeBase_.num > 0 && timeBase_.den > 0)
        out.durationMs = ClampFrameMs(static_cast<double>(frame.pkt_duration) * 1000.0 * av_q2d(timeBase_));
    nextTimeMs_ = out.timeMs + out.durationMs;
    return out;
}
