#pragma once
// Plays a clip in an endless loop at the clip's own rate. Frames are decoded on a thread of their
// own into a short queue, so the user interface never waits for a decoder; each frame is handed
// out on the object's thread when its time has come.
#include "media/video/VideoClip.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

class VideoPlayer : public QObject {
    Q_OBJECT
public:
    explicit VideoPlayer(std::unique_ptr<VideoClip> clip, QObject *parent = nullptr);
    // Stops the decoding thread; at most the frame being decoded is waited for.
    ~VideoPlayer() override;

    QSize Size() const { return size_; }
    // Starts the loop from the first frame; a second call changes nothing.
    void PlayRepeat();
    // Whether the decoding thread gave up by itself: the clip gave no frame in a whole pass, or a
    // decoder ran out of memory. Nothing more comes out then.
    bool Ended() const { return ended_; }

signals:
    // A frame is due now. dueMs is its place on the play's time line: the clip's own frame times,
    // each pass of the loop starting where the previous one ended.
    void FrameDue(const QImage &frame, double dueMs);

private:
    struct Queued {
        QImage image;
        double dueMs;
    };
    void Decode();
    void Pump();

    static constexpr std::size_t kQueueDepth = 3;
    std::unique_ptr<VideoClip> clip_;
    QSize size_;
    QTimer timer_;
    QElapsedTimer clock_;
    double clockShiftMs_ = 0;

    std::mutex mutex_;
    std::condition_variable space_;
    std::deque<Queued> queue_;
    bool stop_ = false;
    std::atomic<bool> ended_ = false;
    std::thread decoder_;
};
