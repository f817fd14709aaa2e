#include "imaging/metafile/MetafilePicture.h"

#include "system/ByteView.h"

#include <QRectF>

MetafilePicture::MetafilePicture(QByteArray bytes)
    : bytes_(std::move(bytes)), info_(ReadMetafileInfo(AsBytes(bytes_))) {}

void MetafilePicture::Render(QPainter &painter, QPoint at) const {
    const QRectF dest(at, QSizeF(HimetricToPixels(info_.widthHimetric, true),
                                 HimetricToPixels(info_.heightHimetric, false)));
    PlayMetafile(AsBytes(bytes_), painter, dest);
}
