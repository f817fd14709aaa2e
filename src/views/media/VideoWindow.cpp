#include "views/media/VideoWindow.h"

#include "media/MediaEngine.h"

#include <QPainter>

VideoWindow::VideoWindow(std::unique_ptr<MediaVideo> video, QWidget *parent)
    : QWidget(parent), video_(std::move(video)), clipSize_(video_->Size()) {
    setObjectName(QStringLiteral("VideoWindow"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setGeometry(QRect(QPoint(0, 0), clipSize_));
    hide();
}

// The clip, a member, stops before the widget it hands frames to is taken down.
VideoWindow::~VideoWindow() = default;

void VideoWindow::PlayRepeat() {
    video_->PlayRepeat([this](const QImage &frame, double dueMs) {
        frame_ = frame;
        if (isHidden()) show();
        update();
        emit FrameShown(frame, dueMs);
    });
}

bool VideoWindow::ended() const {
    return video_->Ended();
}

void VideoWindow::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    // The frame at its own size from the top-left corner; what it leaves uncovered is black.
    painter.fillRect(rect(), Qt::black);
    painter.drawImage(QPoint(0, 0), frame_);
}
