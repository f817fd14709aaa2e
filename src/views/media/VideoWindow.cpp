#include "views/media/VideoWindow.h"

#include "media/video/VideoClip.h"
#include "media/video/VideoPlayer.h"

#include <QPainter>

VideoWindow::VideoWindow(std::unique_ptr<VideoClip> clip, QWidget *parent)
    : QWidget(parent), player_(new VideoPlayer(std::move(clip), this)) {
    setObjectName(QStringLiteral("VideoWindow"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    clipSize_ = player_->Size();
    setGeometry(QRect(QPoint(0, 0), clipSize_));
    hide();
    connect(player_, &VideoPlayer::FrameDue, this, [this](const QImage &frame) {
        frame_ = frame;
        if (isHidden()) show();
        update();
    });
}

VideoWindow::~VideoWindow() = default;

void VideoWindow::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    // The frame at its own size from the top-left corner; what it leaves uncovered is black.
    painter.fillRect(rect(), Qt::black);
    painter.drawImage(QPoint(0, 0), frame_);
}
