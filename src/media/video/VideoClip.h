#pragma once
// An AVI clip read from bytes in memory and decoded frame by frame into pictures. Every codec
// that FFmpeg decodes is accepted (MS-RLE with its palette changes, MS Video 1, Cinepak,
// uncompressed, ...). Reading a clip never shows anything; the player does.
#include "media/ffmpeg/FfmpegInput.h"

#include <QImage>
#include <QSize>
#include <memory>
#include <optional>

struct VideoFrame {
    QImage image;      // RGB, 8 bits a channel, the decoded frame's own size
    double timeMs = 0; // when the frame starts, counted from the clip's first frame
    double durationMs = 0;
};

class VideoClip {
public:
    // A frame larger than this is refused: the player keeps a few of them in memory.
    static constexpr int kMaxSide = 32767;
    static constexpr std::int64_t kMaxPixels = 4096 * 2048;

    // Null unless the bytes are an AVI file with a video stream of a size within the limits.
    // A clip whose codec no decoder knows still opens (it has a size); it just gives no frames.
    static std::unique_ptr<VideoClip> Open(std::shared_ptr<const QByteArray> bytes);
    ~VideoClip();

    // The size of the clip's frames as its header gives it, in pixels.
    QSize Size() const { return size_; }
    bool HasDecoder() const { return decoder_ != nullptr; }
    // The time of one frame at the clip's nominal rate.
    double FrameDurationMs() const { return frameDurationMs_; }

    // The next frame of the clip; empty at the end, or when no more frames can be decoded.
    std::optional<VideoFrame> NextFrame();
    // Back to the first frame, with the palette and state the clip starts with. False when the
    // clip can no longer be read.
    bool Rewind();

private:
    VideoClip() = default;
    bool OpenStream();
    std::optional<VideoFrame> Convert(const AVFrame &frame);

    std::shared_ptr<const QByteArray> bytes_;
    std::unique_ptr<MemoryInput> input_;
    AvCodecContextPtr decoder_;
    AvPacketPtr packet_;
    AvFramePtr frame_;
    SwsPtr scaler_; // made for frames of this size and format
    QSize scalerSize_;
    AVPixelFormat scalerFormat_ = AV_PIX_FMT_NONE;
    int stream_ = -1;
    AVRational timeBase_{0, 1};
    QSize size_;
    double frameDurationMs_ = 100;
    bool draining_ = false;
    bool ended_ = false;
    std::int64_t firstPts_ = AV_NOPTS_VALUE;
    double nextTimeMs_ = 0; // for frames without a time stamp
};
