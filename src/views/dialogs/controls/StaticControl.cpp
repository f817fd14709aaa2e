#include "views/dialogs/controls/StaticControl.h"

#include "formats/WindowStyles.h"

#include <QPainter>
#include <QStyle>
#include <qdrawutil.h>

using namespace Win;

StaticControl::StaticControl(std::uint32_t style, std::uint32_t exStyle, QString text, QWidget *parent)
    : QWidget(parent), style_(style), exStyle_(exStyle), text_(std::move(text)) {
    setFocusPolicy(Qt::NoFocus);
    // A static without SS_NOTIFY is transparent to the mouse: clicks reach what lies beneath.
    if ((style_ & SS_NOTIFY) == 0) setAttribute(Qt::WA_TransparentForMouseEvents);
    // The border is the control's non-client part: the text keeps inside it.
    int border = 0;
    if ((exStyle_ & WS_EX_CLIENTEDGE) != 0)
        border = 2;
    else if ((exStyle_ & WS_EX_STATICEDGE) != 0 || (style_ & (SS_SUNKEN | WS_BORDER)) != 0)
        border = 1;
    setContentsMargins(border, border, border, border);
}

std::uint32_t StaticControl::staticType() const {
    return style_ & SS_TYPEMASK;
}

QString StaticControl::displayText() const {
    if ((style_ & SS_NOPREFIX) != 0) return text_;
    QString shown;
    for (qsizetype i = 0; i < text_.size(); ++i) {
        if (text_[i] == QLatin1Char('&') && i + 1 < text_.size())
            ++i;
        else if (text_[i] == QLatin1Char('&'))
            continue;
        shown.append(text_[i]);
    }
    return shown;
}

QChar StaticControl::accessKey() const {
    if ((style_ & SS_NOPREFIX) != 0) return {};
    for (qsizetype i = 0; i + 1 < text_.size(); ++i) {
        if (text_[i] != QLatin1Char('&')) continue;
        if (text_[i + 1] != QLatin1Char('&')) return text_[i + 1].toUpper();
        ++i; // "&&" is a literal ampersand
    }
    return {};
}

int StaticControl::textFlags() const {
    int flags = Qt::TextExpandTabs;
    switch (staticType()) {
    case SS_CENTER:
        flags |= Qt::AlignHCenter | Qt::TextWordWrap;
        break;
    case SS_RIGHT:
        flags |= Qt::AlignRight | Qt::TextWordWrap;
        break;
    case SS_SIMPLE:
    case SS_LEFTNOWORDWRAP:
        flags |= Qt::AlignLeft | Qt::TextSingleLine;
        break;
    default:
        flags |= Qt::AlignLeft | Qt::TextWordWrap;
        break;
    }
    // SS_CENTERIMAGE centres a single line of text vertically.
    if ((style_ & SS_CENTERIMAGE) != 0)
        flags = (flags & ~Qt::TextWordWrap) | Qt::AlignVCenter | Qt::TextSingleLine;
    else
        flags |= Qt::AlignTop;
    flags |= (style_ & SS_NOPREFIX) != 0 ? 0 : Qt::TextShowMnemonic;
    return flags;
}

void StaticControl::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    const QPalette &pal = palette();
    const QRect r = rect();
    const QColor dark = pal.color(QPalette::Shadow), grey = pal.color(QPalette::Dark),
                 white = pal.color(QPalette::Light);
    switch (staticType()) {
    case SS_ICON:
    case SS_BITMAP:
        if (!image_.isNull()) {
            const bool centred = (style_ & SS_CENTERIMAGE) != 0;
            const QPoint at = centred
                                  ? QPoint((width() - image_.width()) / 2, (height() - image_.height()) / 2)
                                  : QPoint(0, 0);
            painter.drawPixmap(at, image_);
        }
        break;
    case SS_BLACKRECT:
        painter.fillRect(r, dark);
        break;
    case SS_GRAYRECT:
        painter.fillRect(r, grey);
        break;
    case SS_WHITERECT:
        painter.fillRect(r, white);
        break;
    case SS_BLACKFRAME:
    case SS_GRAYFRAME:
    case SS_WHITEFRAME: {
        const QColor colour = staticType() == SS_BLACKFRAME  ? dark
                              : staticType() == SS_GRAYFRAME ? grey
                                                             : white;
        painter.setPen(colour);
        painter.drawRect(r.adjusted(0, 0, -1, -1));
        break;
    }
    case SS_ETCHEDHORZ:
        // An etched line: shadow over highlight, along the top edge.
        painter.fillRect(QRect(0, 0, width(), 1), grey);
        painter.fillRect(QRect(0, 1, width(), 1), white);
        break;
    case SS_ETCHEDVERT:
        painter.fillRect(QRect(0, 0, 1, height()), grey);
        painter.fillRect(QRect(1, 0, 1, height()), white);
        break;
    case SS_ETCHEDFRAME:
        qDrawShadeRect(&painter, r, pal, true, 1, 0);
        break;
    case SS_OWNERDRAW:
    case SS_USERITEM:
    case SS_ENHMETAFILE:
        break; // drawn by the owning program, which is not there
    default: {
        const QRect inside = contentsRect();
        style()->drawItemText(&painter, inside, textFlags(), pal, isEnabled(), text_, QPalette::WindowText);
        break;
    }
    }
    paintBorder(painter);
}

void StaticControl::paintBorder(QPainter &painter) const {
    const QPalette &pal = palette();
    if ((exStyle_ & WS_EX_CLIENTEDGE) != 0)
        qDrawWinPanel(&painter, rect(), pal, true);
    else if ((exStyle_ & WS_EX_STATICEDGE) != 0 || (style_ & SS_SUNKEN) != 0)
        qDrawShadePanel(&painter, rect(), pal, true, 1);
    else if ((style_ & WS_BORDER) != 0) {
        painter.setPen(pal.color(QPalette::WindowText));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}
