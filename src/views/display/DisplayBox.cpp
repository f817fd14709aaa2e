#include "views/display/DisplayBox.h"

#include <QPaintEvent>
#include <QPainter>
#include <QRegularExpression>
#include <algorithm>

DisplayBox::DisplayBox(QWidget *parent) : QWidget(parent) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button); // the system's button-face colour
    setFocusPolicy(Qt::StrongFocus);
}

void DisplayBox::Cls() {
    layers_.clear();
    printed_.clear();
    printPosition_ = QPoint(0, 0);
    update();
}

void DisplayBox::DrawImage(QPoint at, const QImage &image) {
    if (image.isNull()) return;
    layers_.push_back(Drawing{at, image});
    update(QRect(at, image.size()));
}

void DisplayBox::Draw(const QRect &area, const std::function<void(QPainter &)> &paint) {
    if (area.isEmpty()) return;
    QImage pixels(area.size(), QImage::Format_RGB32);
    pixels.fill(palette().color(backgroundRole()));
    {
        QPainter painter(&pixels);
        painter.translate(-area.topLeft());
        PaintLayers(painter, area);
        painter.setClipRect(area);
        paint(painter);
    }
    layers_.push_back(Drawing{area.topLeft(), std::move(pixels)});
    update(area);
}

void DisplayBox::Print(const QString &text) {
    static const QRegularExpression kLineBreak(QStringLiteral("\r\n|\r|\n"));
    const QFontMetrics metrics(font());
    const QStringList lines = text.split(kLineBreak);
    // Each line after the first starts at the left edge, as a new print line does.
    int right = printPosition_.x();
    for (qsizetype i = 0; i < lines.size(); ++i)
        right = std::max(right, (i == 0 ? printPosition_.x() : 0) + metrics.horizontalAdvance(lines[i]));
    const int height = static_cast<int>(lines.size()) * metrics.height();
    // Glyphs may reach a little beyond their advance; the margin covers that.
    const int slack = metrics.height();
    const QRect area = QRect(QPoint(0, printPosition_.y()), QPoint(right, printPosition_.y() + height - 1))
                           .adjusted(-slack, -slack, slack, slack);
    layers_.push_back(Printing{printPosition_, lines, font(), palette().color(QPalette::ButtonText), area});
    update(area);
    printed_.append(lines);
    printPosition_ = QPoint(0, printPosition_.y() + height);
}

void DisplayBox::Move(int left, int top, int width, int height) {
    const bool resized = width != this->width() || height != this->height();
    setGeometry(left, top, width, height);
    if (resized && ResizeHandler) ResizeHandler();
}

void DisplayBox::PaintLayers(QPainter &painter, const QRect &exposed) const {
    for (const Layer &layer : layers_) {
        if (const auto *drawing = std::get_if<Drawing>(&layer)) {
            const QRect part = exposed & QRect(drawing->at, drawing->image.size());
            if (!part.isEmpty())
                painter.drawImage(part.topLeft(), drawing->image, part.translated(-drawing->at));
            continue;
        }
        const auto &printing = std::get<Printing>(layer);
        if (!printing.area.intersects(exposed)) continue;
        painter.setFont(printing.font);
        painter.setPen(printing.colour);
        const QFontMetrics metrics(printing.font);
        QPoint at = printing.at;
        for (const QString &line : printing.lines) {
            painter.drawText(at.x(), at.y() + metrics.ascent(), line);
            at = QPoint(0, at.y() + metrics.height());
        }
    }
}

void DisplayBox::paintEvent(QPaintEvent *event) {
    QPainter painter(this); // already clipped to the exposed region
    PaintLayers(painter, event->rect());
}

QImage DisplayBox::Snapshot() const {
    QImage image(size(), QImage::Format_RGB32);
    image.fill(palette().color(backgroundRole()));
    QPainter painter(&image);
    PaintLayers(painter, rect());
    return image;
}
