#pragma once
// A metafile picture (type 2 for WMF, 4 for EMF): the file's bytes, played each time it is drawn.
#include "imaging/Picture.h"
#include "imaging/metafile/Metafile.h"

#include <QByteArray>

class MetafilePicture : public Picture {
public:
    // Reads the header; raises the invalid-picture failure (481) for data that is not a metafile.
    explicit MetafilePicture(QByteArray bytes);

    int Type() const override { return info_.enhanced ? Picture::EnhMetafile : Picture::Metafile; }
    std::int32_t Width() const override { return info_.widthHimetric; }
    std::int32_t Height() const override { return info_.heightHimetric; }
    void Render(QPainter &painter, QPoint at) const override;
    // The metafile itself.
    std::optional<QByteArray> FileBytes() const override { return bytes_; }

private:
    QByteArray bytes_;
    MetafileInfo info_;
};
