#include "imaging/metafile/MetafilePicture.h"

#include <QRectF>

namespace {
std::span<const std::byte> Span(const QByteArray &bytes) {
    return std::as_bytes(std::span(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}
} // namespace

MetafilePicture::MetafilePicture(QByteArray bytes)
    : bytes_(std::move(bytes)), info_(ReadMetafileInfo(Span(bytes_))) {}

void MetafilePicture::Render(QPainter &painter, QPoint at) const {
    const QRectF dest(at, QSizeF(HimetricToPixels(info_.widthHimetric, true),
                                 HimetricToPixels(info_.heightHimetric, false)));
    PlayMetafile(Span(bytes_), painter, dest);
}
