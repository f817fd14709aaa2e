#include "platform/RasterPicture.h"

#include <QPainter>

RasterPicture::RasterPicture(QImage image, int type)
    : image_(std::move(image)), type_(type), width_(PixelsToHimetric(image_.width(), true)),
      height_(PixelsToHimetric(image_.height(), false)) {}

void RasterPicture::Render(QPainter &painter, QPoint at) const {
    if (!released_) painter.drawImage(at, image_);
}

bool RasterPicture::Release() {
    if (released_) return false;
    released_ = true;
    image_ = QImage();
    return true;
}
