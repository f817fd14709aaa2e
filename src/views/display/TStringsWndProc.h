#pragma once
// What the text box runs under while the program lives: every event goes on to the box as before,
// and a press of the middle button is in addition reported to the main window as a press at its
// client point (0, 0).
#include <QObject>
#include <QPointer>

class QWidget;

class TStringsWndProc : public QObject {
    Q_OBJECT
public:
    TStringsWndProc(QWidget *mainWindow, QObject *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> mainWindow_;
};
