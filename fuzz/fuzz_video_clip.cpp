// An AVI clip as the video device reads it: the header, every frame of a pass, the loop back to
// the start and the first frames of the next pass.
#include "media/video/VideoClip.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    auto bytes = std::make_shared<const QByteArray>(reinterpret_cast<const char *>(data),
                                                    static_cast<qsizetype>(size));
    const std::unique_ptr<VideoClip> clip = VideoClip::Open(bytes);
    if (!clip) return 0;
    const QSize frameSize = clip->Size();
    if (frameSize.width() <= 0 || frameSize.height() <= 0 ||
        static_cast<std::int64_t>(frameSize.width()) * frameSize.height() > VideoClip::kMaxPixels)
        __builtin_trap();
    // A bounded number of frames: a hostile clip may hold many tiny ones.
    for (int i = 0; i < 64; ++i) {
        const std::optional<VideoFrame> frame = clip->NextFrame();
        if (!frame) break;
        if (frame->image.isNull() ||
            static_cast<std::int64_t>(frame->image.width()) * frame->image.height() > VideoClip::kMaxPixels)
            __builtin_trap();
        if (frame->durationMs < 5 || frame->durationMs > 60000) __builtin_trap();
    }
    if (clip->Rewind())
        for (int i = 0; i < 2 && clip->NextFrame(); ++i) {
        }
    return 0;
}
