#include "views/display/DisplayBox.h"

#include <QPaintEvent>
#include <QPainter>
#include <QRegularExpression>

DisplayBox::DisplayBox(QWidget *parent) : QWidget(parent) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button); // the system's button-face colour
    setFocusPolicy(Qt::StrongFocus);
}

void DisplayBox::Cls() {
    drawings_.clear();
    printed_.clear();
    printPosition_ = QPoint(0, 0);
    update();
}

void DisplayBox::Draw(const std::function<void(QPainter &)> &paint) {
    QPicture picture;
    {
        QPainter painter(&picture);
        paint(painter);
    }
    drawings_.append(picture);
    update();
}

void DisplayBox::Print(const QString &text) {
    static const QRegularExpression kLineBreak(QStringLiteral("\r\n|\r|\n"));
    const QFontMetrics metrics(font());
    const QStringList lines = text.split(kLineBreak);
    const QColor colour = palette().color(QPalette::ButtonText);
    const QFont f = font();
    Draw([&](QPainter &p) {
        p.setFont(f);
        p.setPen(colour);
        QPoint at = printPosition_;
        for (const QString &line : lines) {
            p.drawText(at.x(), at.y() + metrics.ascent(), line);
            at = QPoint(0, at.y() + metrics.height());
        }
    });
    printed_.append(lines);
    printPosition_ = QPoint(0, printPosition_.y() + static_cast<int>(lines.size()) * metrics.height());
}

void DisplayBox::Move(int left, int top, int width, int height) {
    const bool resized = width != this->width() || height != this->height();
    setGeometry(left, top, width, height);
    if (resized && ResizeHandler) ResizeHandler();
}

void DisplayBox::paintEvent(QPaintEvent *event) {
    QPainter painter(this);
    painter.setClipRect(event->rect());
    for (const QPicture &picture : drawings_)
        painter.drawPicture(0, 0, picture);
}

QImage DisplayBox::Snapshot() const {
    QImage image(size(), QImage::Format_RGB32);
    image.fill(palette().color(backgroundRole()));
    QPainter painter(&image);
    for (const QPicture &picture : drawings_)
        painter.drawPicture(0, 0, picture);
    return image;
}
