#include "about/LinkLabel.h"

#include <QMouseEvent>

LinkLabel::LinkLabel(const QString &text, QWidget *parent) : QLabel(text, parent) {
    setCursor(Qt::PointingHandCursor);
    SetColour(QColor(0, 0, 255));
}

QColor LinkLabel::textColour() const {
    return palette().color(QPalette::WindowText);
}

void LinkLabel::SetColour(const QColor &colour) {
    QPalette p = palette();
    p.setColor(QPalette::WindowText, colour);
    setPalette(p);
}

void LinkLabel::mousePressEvent(QMouseEvent *event) {
    SetColour(QColor(255, 0, 0));
    QLabel::mousePressEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *event) {
    SetColour(QColor(0, 0, 255));
    QLabel::mouseReleaseEvent(event);
    if (rect().contains(event->position().toPoint())) emit Click();
}
