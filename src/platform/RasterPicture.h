#pragma once
// A picture backed by an image in memory: a bitmap (type 1) or an icon or cursor (type 3).
#include "platform/Picture.h"

#include <QImage>

class RasterPicture : public Picture {
public:
    RasterPicture(QImage image, int type);

    int Type() const override { return type_; }
    std::int32_t Width() const override { return width_; }
    std::int32_t Height() const override { return height_; }
    void Render(QPainter &painter, QPoint at) const override;
    bool Release() override;

    const QImage &image() const { return image_; }
    bool released() const { return released_; }

private:
    QImage image_;
    int type_;
    std::int32_t width_, height_;
    bool released_ = false;
};
