#pragma once
// A picture backed by an image in memory: a bitmap (type 1) or an icon or cursor (type 3).
#include "imaging/IconImage.h"
#include "imaging/Picture.h"

#include <QImage>
#include <optional>

class RasterPicture : public Picture {
public:
    // A bitmap or any other raster picture of the given type, drawn as the image is.
    RasterPicture(QImage image, int type);
    // An icon or cursor (type 3); it keeps the stored image bytes for its icon-file form.
    explicit RasterPicture(IconImage icon);

    int Type() const override { return type_; }
    std::int32_t Width() const override { return width_; }
    std::int32_t Height() const override { return height_; }
    void Render(QPainter &painter, QPoint at) const override;
    bool Release() override;
    // A bitmap as a BMP file, an icon or cursor as an icon or cursor file; empty once released.
    std::optional<QByteArray> FileBytes() const override;

    const QImage &image() const { return image_; }
    const std::optional<IconImage> &icon() const { return icon_; }
    bool released() const { return released_; }

private:
    QImage image_;
    std::optional<IconImage> icon_;
    int type_;
    std::int32_t width_, height_;
    bool released_ = false;
};
