#pragma once
// FFmpeg's demuxers over bytes held in memory, and owners for the FFmpeg objects the media
// decoders use. Only the demuxer that the caller names is tried, so a video device never reads a
// file as anything but AVI and a sound device never as anything but WAVE.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include "media/MediaEngine.h"

#include <QByteArray>
#include <chrono>
#include <memory>

struct AvCodecContextFree {
    void operator()(AVCodecContext *c) const { avcodec_free_context(&c); }
};
struct AvFrameFree {
    void operator()(AVFrame *f) const { av_frame_free(&f); }
};
struct AvPacketFree {
    void operator()(AVPacket *p) const { av_packet_free(&p); }
};
struct SwsFree {
    void operator()(SwsContext *c) const { sws_freeContext(c); }
};
struct SwrFree {
    void operator()(SwrContext *c) const { swr_free(&c); }
};
using AvCodecContextPtr = std::unique_ptr<AVCodecContext, AvCodecContextFree>;
using AvFramePtr = std::unique_ptr<AVFrame, AvFrameFree>;
using AvPacketPtr = std::unique_ptr<AVPacket, AvPacketFree>;
using SwsPtr = std::unique_ptr<SwsContext, SwsFree>;
using SwrPtr = std::unique_ptr<SwrContext, SwrFree>;

// FFmpeg writes its diagnostics to the standard error stream; the program shows none.
void SilenceFfmpegLog();

class MemoryInput {
public:
    // Opens the bytes with the one demuxer named (FFmpeg's short name: "avi", "wav"); null when
    // that demuxer does not accept them or the bytes are too large.
    static std::unique_ptr<MemoryInput> Open(std::shared_ptr<const QByteArray> bytes, const char *format);
    ~MemoryInput();
    MemoryInput(const MemoryInput &) = delete;
    MemoryInput &operator=(const MemoryInput &) = delete;

    AVFormatContext *context() const { return format_; }
    // Reads after this moment fail, which ends whatever demuxer loop is running: hostile data
    // cannot keep a read going for ever.
    void SetDeadline(std::chrono::milliseconds fromNow);

private:
    MemoryInput() = default;
    static int Read(void *opaque, std::uint8_t *buffer, int size);
    static std::int64_t Seek(void *opaque, std::int64_t offset, int whence);

    std::shared_ptr<const QByteArray> bytes_;
    std::int64_t pos_ = 0;
    std::chrono::steady_clock::time_point deadline_ = std::chrono::steady_clock::time_point::max();
    AVIOContext *io_ = nullptr;
    AVFormatContext *format_ = nullptr;
};
