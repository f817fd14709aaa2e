#include "media/video/VideoPlayer.h"

#include <algorithm>
#include <cmath>

namespace {
// Consecutive frames are at least this far apart and at most this far.
constexpr double kMinGapMs = 5;
constexpr double kMaxGapMs = 60000;
// A player more than this late (a busy machine) moves its time line on instead of racing.
constexpr double kMaxLagMs = 1000;
} // namespace

VideoPlayer::VideoPlayer(std::unique_ptr<VideoClip> clip, QObject *parent)
    : QObject(parent), clip_(std::move(clip)), size_(clip_ ? clip_->Size() : QSize()) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &VideoPlayer::Pump);
}

VideoPlayer::~VideoPlayer() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    space_.notify_all();
    if (decoder_.joinable()) decoder_.join();
}

void VideoPlayer::PlayRepeat() {
    if (decoder_.joinable() || !clip_) return;
    clock_.start();
    decoder_ = std::thread([this] {
        Decode();
        std::lock_guard lock(mutex_);
        ended_ = !stop_;
    });
}

void VideoPlayer::Decode() {
    double passStart = 0; // where the current pass begins on the time line
    double passEnd = 0;   // where it ends: the last frame's time plus its duration
    double lastDue = -kMinGapMs;
    int framesInPass = 0;
    bool first = true;
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            space_.wait(lock, [this] { return stop_ || queue_.size() < kQueueDepth; });
            if (stop_) return;
        }
        std::optional<VideoFrame> frame;
        try {
            frame = clip_->NextFrame();
        } catch (...) {
            return; // out of memory in a decoder: the clip stops where it is
        }
        if (!frame) {
            // A pass that gave no frame at all would give none the next time either.
            if (framesInPass == 0 || !clip_->Rewind()) return;
            passStart = passEnd;
            framesInPass = 0;
            continue;
        }
        double due = passStart + frame->timeMs;
        if (!first) due = std::clamp(due, lastDue + kMinGapMs, lastDue + kMaxGapMs);
        first = false;
        lastDue = due;
        passEnd = std::max(passEnd, due + frame->durationMs);
        ++framesInPass;
        bool wake = false;
        {
            std::lock_guard lock(mutex_);
            if (stop_) return;
            wake = queue_.empty();
            queue_.push_back({std::move(frame->image), due});
        }
        // The player waits for frames only when its queue is empty.
        if (wake) QMetaObject::invokeMethod(this, &VideoPlayer::Pump, Qt::QueuedConnection);
    }
}

void VideoPlayer::Pump() {
    Queued next;
    double lateMs = 0;
    {
        std::lock_guard lock(mutex_);
        if (queue_.empty()) return; // the decoder calls again when it has a frame
        const double now = static_cast<double>(clock_.nsecsElapsed()) / 1e6;
        const double due = queue_.front().dueMs + clockShiftMs_;
        if (due > now) {
            timer_.start(static_cast<int>(std::ceil(due - now)));
            return;
        }
        lateMs = now - due;
        next = std::move(queue_.front());
        queue_.pop_front();
        if (lateMs > kMaxLagMs) clockShiftMs_ += lateMs;
        if (!queue_.empty()) timer_.start(0); // the next frame's time is worked out then
    }
    space_.notify_one();
    emit FrameDue(next.image, next.dueMs);
}
