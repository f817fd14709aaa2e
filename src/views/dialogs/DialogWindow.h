#pragma once
// The window of a dialog preview: the frame, caption bar and edges that its styles ask for, drawn
// around a client area that holds the controls. As a child it lives inside another widget; as a
// pop-up or overlapped window it is a top-level window of its own, owned by the program's window,
// and can be dragged by its caption.
#include "views/dialogs/DialogGeometry.h"

#include <QPoint>
#include <QString>
#include <QWidget>
#include <cstdint>

class QMenuBar;

class DialogWindow : public QWidget {
    Q_OBJECT
public:
    // `parent`: the widget a child dialog lives in, or the owner of a top-level one.
    DialogWindow(std::uint32_t style, std::uint32_t exStyle, bool hasMenu, QString title, QWidget *parent);

    bool isChildStyle() const;
    std::uint32_t windowStyle() const { return style_; }
    std::uint32_t windowExStyle() const { return exStyle_; }
    const NonClientParts &nonClient() const { return parts_; }
    QString caption() const { return title_; }
    // The client area; the controls are its children.
    QWidget *client() const { return client_; }
    // Sizes the window so that its client area gets this size.
    void setClientSize(QSize size);
    // The caption bar in window coordinates; empty without one.
    QRect captionRect() const;
    // Puts the menu bar into the menu part of the frame, under the caption.
    void setMenuBar(QMenuBar *bar);
    QMenuBar *menuBar() const { return menuBar_; }
    // A disabled dialog: its controls look as they are but take neither clicks nor the focus,
    // as the children of a disabled window get no input.
    void blockInput();
    bool inputBlocked() const { return blocker_ != nullptr; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void layOut();
    void paintFrame(QPainter &painter) const;
    void paintCaption(QPainter &painter) const;

    std::uint32_t style_;
    std::uint32_t exStyle_;
    NonClientParts parts_;
    QString title_;
    QWidget *client_;
    QWidget *blocker_ = nullptr;
    QMenuBar *menuBar_ = nullptr;
    bool dragging_ = false;
    QPoint dragOffset_;
};
