#include "views/display/TStringsWndProc.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

TStringsWndProc::TStringsWndProc(QWidget *mainWindow, QObject *parent)
    : QObject(parent), mainWindow_(mainWindow) {}

bool TStringsWndProc::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::MouseButtonPress && mainWindow_ &&
        static_cast<QMouseEvent *>(event)->button() == Qt::MiddleButton) {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(0, 0), mainWindow_->mapToGlobal(QPointF(0, 0)),
                          Qt::MiddleButton, Qt::MiddleButton, Qt::NoModifier);
        QCoreApplication::sendEvent(mainWindow_, &press);
    }
    return QObject::eventFilter(watched, event); // the box handles the event as before
}
