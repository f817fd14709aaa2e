// The text box's text on screen: lines, the pieces long lines are laid out in, scroll ranges and
// painting. Keys, mouse and the selection are in TextBoxInput.cpp.
#include "views/display/TextBox.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextOption>
#include <algorithm>
#include <cmath>

namespace {
// Laid-out pieces kept for repaints (some screenfuls) before starting afresh.
constexpr qsizetype kLayouts = 512;
} // namespace

TextBox::TextBox(QWidget *parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The box paints its whole viewport in its own background role (the viewport's own default,
    // the base colour, would hide the colour the box is given).
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setCursor(Qt::IBeamCursor);
    Relayout();
}

TextBox::~TextBox() = default;

void TextBox::setText(const QString &text) {
    text_ = text;
    lines_.Reset(text_);
    anchor_ = cursor_ = 0;
    column_ = -1;
    selecting_ = false;
    dragTimer_.stop();
    Relayout();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
}

void TextBox::Relayout() {
    drawFont_ = font();
    drawFont_.setKerning(false);
    const QFontMetrics metrics(drawFont_);
    lineHeight_ = std::max(1, metrics.height());
    ascent_ = metrics.ascent();
    tabStop_ = QTextOption().tabStopDistance();
    // The advances measured so far serve as long as the font stays.
    if (!advances_ || advances_->font() != drawFont_ || advances_->tabStop() != tabStop_)
        advances_ = std::make_unique<TextAdvances>(drawFont_, tabStop_);
    layouts_.clear();
    pieceXs_.clear();
    widest_ = 0;
    for (qsizetype line = 0; line < lines_.Count(); ++line)
        widest_ = std::max(widest_, advances_->Reach(lines_.Line(line)));
    UpdateScrollBars();
    viewport()->update();
}

int TextBox::VisibleLines() const {
    return std::max(1, (viewport()->height() - kMargin) / lineHeight_);
}

void TextBox::UpdateScrollBars() {
    QScrollBar *v = verticalScrollBar();
    const qsizetype lastTop = std::max<qsizetype>(0, lines_.Count() - VisibleLines());
    v->setRange(0, static_cast<int>(std::min<qsizetype>(lastTop, INT_MAX)));
    v->setSingleStep(1);
    v->setPageStep(VisibleLines());
    QScrollBar *h = horizontalScrollBar();
    const qreal content = std::ceil(widest_) + 2 * kMargin;
    h->setRange(0, static_cast<int>(std::clamp<qreal>(content - viewport()->width(), 0, INT_MAX / 2)));
    h->setSingleStep(20);
    h->setPageStep(viewport()->width());
}

qsizetype TextBox::PieceCount(qsizetype line) const {
    const qsizetype length = lines_.End(line) - lines_.Start(line);
    return std::max<qsizetype>(1, (length + kPiece - 1) / kPiece);
}

qsizetype TextBox::PieceStart(qsizetype line, qsizetype piece) const {
    if (piece <= 0) return lines_.Start(line);
    if (piece >= PieceCount(line)) return lines_.End(line);
    const qsizetype at = lines_.Start(line) + piece * kPiece;
    // A surrogate pair stays in one piece.
    return text_[at].isLowSurrogate() && text_[at - 1].isHighSurrogate() ? at - 1 : at;
}

qreal TextBox::PieceX(qsizetype line, qsizetype piece) {
    if (piece <= 0) return 0;
    auto known = pieceXs_.find(line);
    if (known == pieceXs_.end()) {
        std::vector<qreal> xs{0};
        for (qsizetype p = 1, count = PieceCount(line); p < count; ++p) {
            const qsizetype from = PieceStart(line, p - 1);
            xs.push_back(
                advances_->Reach(QStringView(text_).sliced(from, PieceStart(line, p) - from), xs.back()));
        }
        known = pieceXs_.insert(line, std::move(xs));
    }
    return (*known)[static_cast<std::size_t>(std::min(piece, PieceCount(line) - 1))];
}

qsizetype TextBox::PieceAt(qsizetype line, qreal x) {
    const qsizetype count = PieceCount(line);
    if (count == 1) return 0;
    PieceX(line, 1);
    const std::vector<qreal> &xs = pieceXs_[line];
    const auto after = std::upper_bound(xs.begin(), xs.end(), x);
    return std::max<qsizetype>(0, (after - xs.begin()) - 1);
}

qsizetype TextBox::PieceOf(qsizetype line, qsizetype position) const {
    const qsizetype count = PieceCount(line);
    qsizetype piece = std::min(count - 1, (position - lines_.Start(line)) / kPiece);
    // A piece may start one character early, to keep a surrogate pair whole.
    if (piece + 1 < count && position >= PieceStart(line, piece + 1))
        ++piece;
    else if (piece > 0 && position < PieceStart(line, piece))
        --piece;
    return piece;
}

std::shared_ptr<QTextLayout> TextBox::Layout(qsizetype line, qsizetype piece) {
    const auto key = std::make_pair(line, piece);
    if (const auto known = layouts_.constFind(key); known != layouts_.constEnd()) return *known;
    if (layouts_.size() >= kLayouts) layouts_.clear();

    const qsizetype start = PieceStart(line, piece);
    QString shown = text_.sliced(start, PieceStart(line, piece + 1) - start);
    // Separators that would end a laid-out line are shown as blanks: each text line is one line.
    shown.replace(QChar::LineSeparator, QLatin1Char(' '))
        .replace(QChar::ParagraphSeparator, QLatin1Char(' '));
    auto layout = std::make_shared<QTextLayout>(shown, drawFont_, viewport());
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTabStopDistance(tabStop_);
    layout->setTextOption(option);
    layout->setCacheEnabled(true);
    layout->beginLayout();
    QTextLine laid = layout->createLine();
    if (laid.isValid()) laid.setLineWidth(1e6);
    layout->endLayout();

    if (laid.isValid()) {
        // The laid-out width is the truth; the advances were an estimate.
        const qreal reach = PieceX(line, piece) + laid.naturalTextWidth();
        if (reach > widest_) {
            widest_ = reach;
            UpdateScrollBars();
        }
    }
    layouts_.insert(key, layout);
    return layout;
}

QPoint TextBox::ToViewport(qsizetype line, qreal x) const {
    const qsizetype top = verticalScrollBar()->value();
    return QPoint(kMargin + static_cast<int>(std::floor(x)) - horizontalScrollBar()->value(),
                  kMargin + static_cast<int>(line - top) * lineHeight_);
}

qsizetype TextBox::PositionAt(QPoint point) {
    if (text_.isEmpty()) return 0;
    const qsizetype row = static_cast<qsizetype>(std::floor(double(point.y() - kMargin) / lineHeight_));
    const qsizetype line = std::clamp<qsizetype>(verticalScrollBar()->value() + row, 0, lines_.Count() - 1);
    const qreal x = point.x() - kMargin + horizontalScrollBar()->value();
    const qsizetype piece = PieceAt(line, x);
    const std::shared_ptr<QTextLayout> layout = Layout(line, piece);
    const QTextLine laid = layout->lineAt(0);
    const qsizetype column = laid.isValid() ? laid.xToCursor(x - PieceX(line, piece)) : 0;
    return std::min(PieceStart(line, piece) + column, lines_.End(line));
}

qreal TextBox::XOf(qsizetype position) {
    const qsizetype line = lines_.LineOf(position);
    position = std::min(position, lines_.End(line));
    const qsizetype piece = PieceOf(line, position);
    const std::shared_ptr<QTextLayout> layout = Layout(line, piece);
    const QTextLine laid = layout->lineAt(0);
    return PieceX(line, piece) +
           (laid.isValid() ? laid.cursorToX(static_cast<int>(position - PieceStart(line, piece))) : 0);
}

void TextBox::paintEvent(QPaintEvent *event) {
    QPainter painter(viewport());
    const QRect exposed = event->rect();
    painter.fillRect(exposed, palette().brush(backgroundRole()));
    if (text_.isEmpty() && !hasFocus()) return;

    const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
    QTextCharFormat selected;
    selected.setBackground(palette().brush(group, QPalette::Highlight));
    selected.setForeground(palette().brush(group, QPalette::HighlightedText));
    const qsizetype selFrom = std::min(anchor_, cursor_), selTo = std::max(anchor_, cursor_);
    painter.setPen(palette().color(QPalette::WindowText));

    const qsizetype top = verticalScrollBar()->value();
    const qsizetype first = top + std::max(0, (exposed.top() - kMargin) / lineHeight_);
    const qsizetype last =
        std::min(lines_.Count() - 1, top + std::max(0, (exposed.bottom() - kMargin) / lineHeight_));
    const qreal left = exposed.left() - kMargin + horizontalScrollBar()->value();
    const qreal right = exposed.right() + 1 - kMargin + horizontalScrollBar()->value();
    for (qsizetype line = first; line <= last && !text_.isEmpty(); ++line) {
        const qsizetype count = PieceCount(line);
        for (qsizetype piece = PieceAt(line, left); piece < count && PieceX(line, piece) < right; ++piece) {
            const std::shared_ptr<QTextLayout> layout = Layout(line, piece);
            const QTextLine laid = layout->lineAt(0);
            if (!laid.isValid()) continue;
            const qsizetype start = PieceStart(line, piece), end = PieceStart(line, piece + 1);
            QList<QTextLayout::FormatRange> selections;
            if (selFrom < end && selTo > start) {
                const qsizetype from = std::max(selFrom, start), to = std::min(selTo, end);
                selections.append({static_cast<int>(from - start), static_cast<int>(to - from), selected});
            }
            const QPoint at = ToViewport(line, 0);
            layout->draw(&painter, QPointF(at.x() + PieceX(line, piece), at.y() + ascent_ - laid.ascent()),
                         selections);
        }
    }
    const qsizetype caretLine = lines_.LineOf(cursor_);
    if (hasFocus() && caretShown_ && caretLine >= first && caretLine <= std::max(first, last)) {
        const QPoint at = ToViewport(caretLine, XOf(cursor_));
        painter.fillRect(QRect(at.x(), at.y(), 1, lineHeight_), palette().color(QPalette::WindowText));
    }
}

void TextBox::resizeEvent(QResizeEvent *event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void TextBox::scrollContentsBy(int, int) {
    viewport()->update();
}

void TextBox::changeEvent(QEvent *event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) Relayout();
}
