#pragma once
// The window in which a clip plays: a child of the display box, at the clip's own size, showing
// each frame as the clip hands it out. It stays hidden until there is a frame to show, so a clip
// that no decoder reads shows nothing at all.
#include <QImage>
#include <QWidget>
#include <memory>

class MediaVideo;

class VideoWindow : public QWidget {
    Q_OBJECT
public:
    VideoWindow(std::unique_ptr<MediaVideo> video, QWidget *parent);
    // Stops the clip: nothing is handed out after this.
    ~VideoWindow() override;

    // The clip's frame size from its header.
    QSize clipSize() const { return clipSize_; }
    // The frame on show; null before the first.
    const QImage &frame() const { return frame_; }
    // Starts the endless loop; a second call changes nothing.
    void PlayRepeat();
    // Whether the clip has given up handing out frames (no decoder reads it).
    bool ended() const;

signals:
    // A frame has been put on show; dueMs is its place on the play's time line.
    void FrameShown(const QImage &frame, double dueMs);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::unique_ptr<MediaVideo> video_;
    QSize clipSize_;
    QImage frame_;
};
