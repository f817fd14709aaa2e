#include "media/ffmpeg/FfmpegInput.h"

#include <algorithm>
#include <cstring>
#include <mutex>

void SilenceFfmpegLog() {
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

std::unique_ptr<MemoryInput> MemoryInput::Open(std::shared_ptr<const QByteArray> bytes, const char *format) {
    SilenceFfmpegLog();
    if (!bytes || bytes->size() > kMaxMediaFileBytes) return nullptr;
    const AVInputFormat *demuxer = av_find_input_format(format);
    if (demuxer == nullptr) return nullptr;

    std::unique_ptr<MemoryInput> input(new MemoryInput);
    input->bytes_ = std::move(bytes);
    input->SetDeadline(std::chrono::seconds(5));
    constexpr int kBufferSize = 32 * 1024;
    auto *buffer = static_cast<unsigned char *>(av_malloc(kBufferSize));
    if (buffer == nullptr) return nullptr;
    input->io_ = avio_alloc_context(buffer, kBufferSize, 0, input.get(), &MemoryInput::Read, nullptr,
                                    &MemoryInput::Seek);
    if (input->io_ == nullptr) {
        av_free(buffer);
        return nullptr;
    }
    AVFormatContext *format_ctx = avformat_alloc_context();
    if (format_ctx == nullptr) return nullptr;
    format_ctx->pb = input->io_;
    format_ctx->flags |= AVFMT_FLAG_CUSTOM_IO;
    // On failure avformat_open_input frees the context itself.
    if (avformat_open_input(&format_ctx, nullptr, demuxer, nullptr) < 0) return nullptr;
    input->format_ = format_ctx;
    return input;
}

MemoryInput::~MemoryInput() {
    // A custom reader stays ours: the demuxer is closed first, then the reader and its buffer.
    if (format_ != nullptr) avformat_close_input(&format_);
    if (io_ != nullptr) {
        av_freep(&io_->buffer);
        avio_context_free(&io_);
    }
}

void MemoryInput::SetDeadline(std::chrono::milliseconds fromNow) {
    deadline_ = std::chrono::steady_clock::now() + fromNow;
}

int MemoryInput::Read(void *opaque, std::uint8_t *buffer, int size) {
    auto *self = static_cast<MemoryInput *>(opaque);
    if (std::chrono::steady_clock::now() > self->deadline_) return AVERROR_EXIT;
    const std::int64_t total = self->bytes_->size();
    if (self->pos_ >= total) return AVERROR_EOF;
    const int n = static_cast<int>(std::min<std::int64_t>(size, total - self->pos_));
    std::memcpy(buffer, self->bytes_->constData() + self->pos_, static_cast<std::size_t>(n));
    self->pos_ += n;
    return n;
}

std::int64_t MemoryInput::Seek(void *opaque, std::int64_t offset, int whence) {
    auto *self = static_cast<MemoryInput *>(opaque);
    const std::int64_t total = self->bytes_->size();
    std::int64_t target = 0;
    switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE:
        return total;
    case SEEK_SET:
        target = offset;
        break;
    case SEEK_CUR:
        if (__builtin_add_overflow(self->pos_, offset, &target)) return AVERROR(EINVAL);
        break;
    case SEEK_END:
        if (__builtin_add_overflow(total, offset, &target)) return AVERROR(EINVAL);
        break;
    default:
        return AVERROR(EINVAL);
    }
    if (target < 0) return AVERROR(EINVAL);
    // Beyond the end is allowed, as for a file; reads there give the end of the data.
    self->pos_ = target;
    return target;
}
