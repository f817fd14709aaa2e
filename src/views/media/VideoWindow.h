#pragma once
// The window in which a clip plays: a child of the display box, at the clip's own size, showing
// each frame as the player hands it out. It stays hidden until there is a frame to show, so a
// clip that no decoder reads shows nothing at all.
#include <QImage>
#include <QWidget>
#include <memory>

class VideoClip;
class VideoPlayer;

class VideoWindow : public QWidget {
    Q_OBJECT
public:
    VideoWindow(std::unique_ptr<VideoClip> clip, QWidget *parent);
    ~VideoWindow() override;

    VideoPlayer &player() { return *player_; }
    // The clip's frame size from its header.
    QSize clipSize() const { return clipSize_; }
    // The frame on show; null before the first.
    const QImage &frame() const { return frame_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    VideoPlayer *player_;
    QSize clipSize_;
    QImage frame_;
};
