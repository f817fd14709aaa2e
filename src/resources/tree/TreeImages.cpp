#include "resources/tree/TreeImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {
void DrawFile(QPainter &p) {
    // A page with a folded corner.
    QPainterPath page;
    page.moveTo(3.5, 1.5);
    page.lineTo(9.5, 1.5);
    page.lineTo(12.5, 4.5);
    page.lineTo(12.5, 14.5);
    page.lineTo(3.5, 14.5);
    page.closeSubpath();
    p.setPen(QColor(70, 70, 90));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.setBrush(QColor(200, 200, 215));
    p.drawPolygon(QPolygonF({QPointF(9.5, 1.5), QPointF(9.5, 4.5), QPointF(12.5, 4.5)}));
    p.setPen(QColor(60, 110, 190));
    for (int y = 7; y <= 12; y += 2)
        p.drawLine(QPointF(5.5, y + 0.5), QPointF(10.5, y + 0.5));
}

void DrawFolder(QPainter &p, bool open) {
    p.setPen(QColor(150, 110, 20));
    p.setBrush(QColor(235, 190, 70));
    p.drawRect(QRectF(1.5, 4.5, 13, 9));
    p.drawRect(QRectF(1.5, 2.5, 5, 2));
    if (open) {
        p.setBrush(QColor(250, 220, 120));
        p.drawPolygon(
            QPolygonF({QPointF(3.5, 7.5), QPointF(15.5, 7.5), QPointF(13.5, 13.5), QPointF(1.5, 13.5)}));
    }
}

void DrawResource(QPainter &p) {
    // A small block of data: a framed square with two rows of cells.
    p.setPen(QColor(40, 90, 60));
    p.setBrush(QColor(210, 240, 215));
    p.drawRect(QRectF(2.5, 3.5, 11, 9));
    p.setBrush(QColor(60, 150, 90));
    p.setPen(Qt::NoPen);
    for (int x = 4; x <= 10; x += 3) {
        p.drawRect(QRectF(x, 5, 2, 2));
        p.drawRect(QRectF(x, 9, 2, 2));
    }
}
} // namespace

QImage ILResourcesImage(int number) {
    QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    switch (number) {
    case TreeImage::File:
        DrawFile(p);
        break;
    case TreeImage::Type:
        DrawFolder(p, false);
        break;
    case TreeImage::TypeSelected:
        DrawFolder(p, true);
        break;
    case TreeImage::Resource:
        DrawResource(p);
        break;
    default:
        break;
    }
    return image;
}

QIcon ILResourcesIcon(int image, int selectedImage) {
    if (image == 0) return {};
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(ILResourcesImage(image)), QIcon::Normal);
    icon.addPixmap(QPixmap::fromImage(ILResourcesImage(selectedImage)), QIcon::Selected);
    return icon;
}
