#include "views/dialogs/DialogWindow.h"

#include "formats/WindowStyles.h"
#include "views/FileText.h"
#include "views/dialogs/DialogFonts.h"
#include "views/dialogs/PreviewStyle.h"

#include <QFontInfo>
#include <QLinearGradient>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <qdrawutil.h>

namespace {
Qt::WindowFlags FlagsFor(std::uint32_t style, QWidget *parent) {
    if ((style & Win::WS_CHILD) != 0 || parent == nullptr) return Qt::Widget;
    // A top-level window owned by the parent's window: it stays above it, goes with it and has no
    // button of its own on the task bar. The frame is drawn here, as the styles say, not by the
    // desktop's window manager.
    return Qt::Dialog | Qt::FramelessWindowHint;
}

QWidget *OwnerOf(std::uint32_t style, QWidget *parent) {
    if ((style & Win::WS_CHILD) != 0 || parent == nullptr) return parent;
    return parent->window();
}
} // namespace

DialogWindow::DialogWindow(std::uint32_t style, std::uint32_t exStyle, bool hasMenu, QString title,
                           QWidget *parent)
    : QWidget(OwnerOf(style, parent), FlagsFor(style, parent)), style_(style), exStyle_(exStyle),
      parts_(NonClientFor(style, exStyle, hasMenu)), title_(std::move(title)), client_(new QWidget(this)) {
    setObjectName(QStringLiteral("DialogPreview"));
    client_->setObjectName(QStringLiteral("DialogClient"));
    setPalette(PreviewPalette());
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    client_->setAutoFillBackground(true);
    client_->setBackgroundRole(QPalette::Window);
    if (!isChildStyle()) setWindowTitle(FileText::WindowTitle(title_));
}

bool DialogWindow::isChildStyle() const {
    return (style_ & Win::WS_CHILD) != 0;
}

void DialogWindow::setClientSize(QSize size) {
    const QMargins m = parts_.margins();
    resize(size.width() + m.left() + m.right(), size.height() + m.top() + m.bottom());
    // Laid out at once: controls that align themselves to the client area read its size while
    // the window is still hidden and has not had its resize event.
    layOut();
}

QRect DialogWindow::captionRect() const {
    if (parts_.caption == 0) return {};
    // The bar itself; the caption's last pixel row is a line of the 3D face colour.
    return {parts_.frame, parts_.frame, width() - 2 * parts_.frame, parts_.caption - 1};
}

void DialogWindow::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    layOut();
}

void DialogWindow::layOut() {
    client_->setGeometry(rect().marginsRemoved(parts_.margins()));
    if (blocker_ != nullptr) blocker_->setGeometry(client_->rect());
    if (menuBar_ != nullptr)
        menuBar_->setGeometry(parts_.frame, parts_.frame + parts_.caption,
                              std::max(0, width() - 2 * parts_.frame), parts_.menu);
}

void DialogWindow::setMenuBar(QMenuBar *bar) {
    menuBar_ = bar;
    menuBar_->setParent(this);
    // The platform's menu font: the dialog face, regular, 8 points.
    QFont font(ResolveFaceName(QStringLiteral("MS Shell Dlg")));
    font.setPixelSize(11);
    menuBar_->setFont(font);
    layOut();
}

void DialogWindow::blockInput() {
    for (QWidget *w : client_->findChildren<QWidget *>())
        w->setFocusPolicy(Qt::NoFocus);
    if (blocker_ == nullptr) blocker_ = new QWidget(client_); // a clear pane over all controls
    blocker_->setGeometry(client_->rect());
    blocker_->raise();
}

void DialogWindow::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    paintFrame(painter);
    paintCaption(painter);
}

void DialogWindow::paintFrame(QPainter &painter) const {
    using namespace Win;
    const QPalette &pal = palette();
    QRect r = rect();
    const bool modalFrame = (exStyle_ & WS_EX_DLGMODALFRAME) != 0;
    const bool raisedEdge = modalFrame || (style_ & (WS_DLGFRAME | WS_THICKFRAME)) != 0;
    if ((exStyle_ & WS_EX_STATICEDGE) != 0 && !modalFrame) {
        qDrawShadePanel(&painter, r, pal, true, 1);
        r.adjust(1, 1, -1, -1);
    } else if (raisedEdge) {
        // The window edge: the raised 3D edge of two pixels.
        qDrawWinPanel(&painter, r, pal, false);
        r.adjust(2, 2, -2, -2);
    } else if ((style_ & WS_BORDER) != 0) {
        painter.setPen(pal.color(QPalette::WindowText));
        painter.drawRect(r.adjusted(0, 0, -1, -1));
        r.adjust(1, 1, -1, -1);
    }
    // What is left of the frame (sizing border, the dialog frame's last pixel) is 3D face.
    const int rest = parts_.frame - (rect().width() - r.width()) / 2;
    if (rest > 0) {
        painter.fillRect(r, pal.color(QPalette::Window));
        r.adjust(rest, rest, -rest, -rest);
    }
    if (parts_.clientEdge > 0) {
        const QRect edge = rect()
                               .marginsRemoved(parts_.margins())
                               .marginsAdded(QMargins(parts_.clientEdge, parts_.clientEdge, parts_.clientEdge,
                                                      parts_.clientEdge));
        qDrawWinPanel(&painter, edge, pal, true);
    }
}

void DialogWindow::paintCaption(QPainter &painter) const {
    const QRect bar = captionRect();
    if (bar.isEmpty()) return;
    const bool tool = (exStyle_ & Win::WS_EX_TOOLWINDOW) != 0;
    QFont captionFont(ResolveFaceName(QStringLiteral("MS Shell Dlg"))); // also makes the symbol font known
    captionFont.setPixelSize(tool ? 10 : 11);
    captionFont.setBold(true);
    painter.save();
    painter.fillRect(QRect(bar.left(), bar.bottom() + 1, bar.width(), 1), palette().color(QPalette::Window));
    // The classic active caption: a gradient from dark blue to light blue.
    QLinearGradient gradient(bar.topLeft(), bar.topRight());
    gradient.setColorAt(0, QColor(10, 36, 106));
    gradient.setColorAt(1, QColor(166, 202, 240));
    painter.fillRect(bar, gradient);

    // The caption buttons, right to left: close; maximise and minimise; or help. Each is a raised
    // button two pixels smaller than the bar in height, with its glyph from the symbol font.
    const int buttonHeight = bar.height() - 4;
    const int buttonWidth = buttonHeight + 2;
    int right = bar.right() - 1;
    QFont symbols(QStringLiteral("Marlett"));
    symbols.setPixelSize(std::max(6, buttonHeight - 4));
    const bool haveSymbols = QFontInfo(symbols).family() == QLatin1String("Marlett");
    auto button = [&](const QString &glyph, QStyle::StandardPixmap fallback) {
        const QRect r(right - buttonWidth + 1, bar.top() + 2, buttonWidth, buttonHeight);
        qDrawWinButton(&painter, r, palette(), false, &palette().brush(QPalette::Button));
        if (haveSymbols) {
            painter.setFont(symbols);
            painter.setPen(palette().color(QPalette::ButtonText));
            painter.drawText(r.adjusted(0, 0, 0, -1), Qt::AlignCenter, glyph);
        } else {
            style()->standardIcon(fallback).paint(&painter, r.adjusted(3, 2, -3, -2));
        }
        right = r.left() - 1;
    };
    if ((style_ & Win::WS_SYSMENU) != 0) {
        button(QStringLiteral("r"), QStyle::SP_TitleBarCloseButton);
        right -= 2;
        const bool boxes =
            !tool && (style_ & (Win::WS_MINIMIZEBOX | Win::WS_MAXIMIZEBOX)) != 0 && !isChildStyle();
        if (boxes) {
            button(QStringLiteral("1"), QStyle::SP_TitleBarMaxButton);
            button(QStringLiteral("0"), QStyle::SP_TitleBarMinButton);
        } else if ((exStyle_ & Win::WS_EX_CONTEXTHELP) != 0) {
            button(QStringLiteral("s"), QStyle::SP_TitleBarContextHelpButton);
        }
    }

    painter.setFont(captionFont);
    painter.setPen(Qt::white);
    const QRect textRect(bar.left() + 3, bar.top(), right - bar.left() - 4, bar.height());
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     QFontMetrics(captionFont).elidedText(title_, Qt::ElideRight, textRect.width()));
    painter.restore();
}

void DialogWindow::mousePressEvent(QMouseEvent *event) {
    // A top-level preview moves when its caption is dragged, as any window does.
    if (!isChildStyle() && event->button() == Qt::LeftButton &&
        captionRect().contains(event->position().toPoint())) {
        dragging_ = true;
        dragOffset_ = event->globalPosition().toPoint() - pos();
        return;
    }
    QWidget::mousePressEvent(event);
}

void DialogWindow::mouseMoveEvent(QMouseEvent *event) {
    if (dragging_) {
        move(event->globalPosition().toPoint() - dragOffset_);
        return;
    }
    QWidget::mouseMoveEvent(event);
}

void DialogWindow::mouseReleaseEvent(QMouseEvent *event) {
    dragging_ = false;
    QWidget::mouseReleaseEvent(event);
}
