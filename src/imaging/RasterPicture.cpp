#include "imaging/RasterPicture.h"

#include "imaging/PictureFiles.h"

#include <QPainter>

RasterPicture::RasterPicture(QImage image, int type)
    : image_(std::move(image)), type_(type), width_(PixelsToHimetric(image_.width(), true)),
      height_(PixelsToHimetric(image_.height(), false)) {}

RasterPicture::RasterPicture(IconImage icon) : RasterPicture(icon.image, Picture::Icon) {
    icon_ = std::move(icon);
    icon_->image = QImage(); // the picture's own copy is image_
}

void RasterPicture::Render(QPainter &painter, QPoint at) const {
    if (released_) return;
    if (icon_)
        DrawIconImage(painter, at, image_, icon_->screenXor);
    else
        painter.drawImage(at, image_);
}

bool RasterPicture::Release() {
    if (released_) return false;
    released_ = true;
    image_ = QImage();
    if (icon_) icon_->screenXor = QImage();
    return true;
}

std::optional<QByteArray> RasterPicture::FileBytes() const {
    if (released_) return std::nullopt;
    if (icon_) {
        IconImage withImage = *icon_;
        withImage.image = image_;
        return IconFileBytes(withImage);
    }
    if (type_ == Picture::Bitmap) return BmpFileBytes(image_);
    return std::nullopt;
}
