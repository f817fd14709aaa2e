// The text box's caret and selection: the keys a read-only text field answers, selecting with
// the mouse, the context menu, copying.
#include "views/display/TextBox.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTextBoundaryFinder>
#include <algorithm>

namespace {
enum class Move { Char, Word, Line, Page, LineStart, LineEnd, Start, End };
struct KeyMove {
    QKeySequence::StandardKey move, select;
    Move kind;
    int direction;
};
constexpr KeyMove kMoves[] = {
    {QKeySequence::MoveToNextChar, QKeySequence::SelectNextChar, Move::Char, 1},
    {QKeySequence::MoveToPreviousChar, QKeySequence::SelectPreviousChar, Move::Char, -1},
    {QKeySequence::MoveToNextWord, QKeySequence::SelectNextWord, Move::Word, 1},
    {QKeySequence::MoveToPreviousWord, QKeySequence::SelectPreviousWord, Move::Word, -1},
    {QKeySequence::MoveToNextLine, QKeySequence::SelectNextLine, Move::Line, 1},
    {QKeySequence::MoveToPreviousLine, QKeySequence::SelectPreviousLine, Move::Line, -1},
    {QKeySequence::MoveToNextPage, QKeySequence::SelectNextPage, Move::Page, 1},
    {QKeySequence::MoveToPreviousPage, QKeySequence::SelectPreviousPage, Move::Page, -1},
    {QKeySequence::MoveToStartOfLine, QKeySequence::SelectStartOfLine, Move::LineStart, -1},
    {QKeySequence::MoveToEndOfLine, QKeySequence::SelectEndOfLine, Move::LineEnd, 1},
    {QKeySequence::MoveToStartOfBlock, QKeySequence::SelectStartOfBlock, Move::LineStart, -1},
    {QKeySequence::MoveToEndOfBlock, QKeySequence::SelectEndOfBlock, Move::LineEnd, 1},
    {QKeySequence::MoveToStartOfDocument, QKeySequence::SelectStartOfDocument, Move::Start, -1},
    {QKeySequence::MoveToEndOfDocument, QKeySequence::SelectEndOfDocument, Move::End, 1},
};

// The key's move, and whether it extends the selection; nothing for any other key.
const KeyMove *MoveOf(QKeyEvent *event, bool &extend) {
    for (const KeyMove &m : kMoves) {
        if (event->matches(m.move) || event->matches(m.select)) {
            extend = event->matches(m.select);
            return &m;
        }
    }
    return nullptr;
}

// The text of a menu item as Qt's own text fields word it (in Russian with Qt's translation),
// with its key.
QString MenuText(const char *text, QKeySequence::StandardKey key) {
    return QCoreApplication::translate("QWidgetTextControl", text) + QLatin1Char('\t') +
           QKeySequence(key).toString(QKeySequence::NativeText);
}
} // namespace

QString TextBox::selectedText() const {
    const qsizetype from = std::min(anchor_, cursor_), to = std::max(anchor_, cursor_);
    return text_.sliced(from, to - from).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

void TextBox::selectAll() {
    anchor_ = 0;
    cursor_ = text_.size();
    column_ = -1;
    viewport()->update();
}

void TextBox::copy() const {
    if (anchor_ != cursor_) QGuiApplication::clipboard()->setText(selectedText());
}

bool TextBox::IsOwnKey(QKeyEvent *event) const {
    bool extend = false;
    return event->matches(QKeySequence::Copy) || event->matches(QKeySequence::SelectAll) ||
           MoveOf(event, extend) != nullptr;
}

bool TextBox::event(QEvent *event) {
    // The box's keys go to the box, before any shortcut of the window sees them.
    if (event->type() == QEvent::ShortcutOverride && IsOwnKey(static_cast<QKeyEvent *>(event))) {
        event->accept();
        return true;
    }
    return QAbstractScrollArea::event(event);
}

void TextBox::MoveCursor(qsizetype position, bool keepAnchor, bool keepColumn) {
    cursor_ = std::clamp<qsizetype>(position, 0, text_.size());
    if (!keepAnchor) anchor_ = cursor_;
    if (!keepColumn) column_ = -1;
    EnsureCursorVisible();
    RestartCaret();
    viewport()->update();
}

qsizetype TextBox::Step(qsizetype position, int direction, bool words) {
    const qsizetype line = lines_.LineOf(position);
    const QTextLayout::CursorMode mode = words ? QTextLayout::SkipWords : QTextLayout::SkipCharacters;
    if (direction > 0) {
        if (position >= lines_.End(line))
            return line + 1 < lines_.Count() ? lines_.Start(line + 1) : position;
        const qsizetype piece = PieceOf(line, position);
        const qsizetype start = PieceStart(line, piece);
        return start + Layout(line, piece)->nextCursorPosition(static_cast<int>(position - start), mode);
    }
    if (position <= lines_.Start(line)) return line > 0 ? lines_.End(line - 1) : position;
    position = std::min(position, lines_.End(line));
    qsizetype piece = PieceOf(line, position);
    if (piece > 0 && position == PieceStart(line, piece)) --piece;
    const qsizetype start = PieceStart(line, piece);
    return start + Layout(line, piece)->previousCursorPosition(static_cast<int>(position - start), mode);
}

qsizetype TextBox::LineMove(int lines) {
    if (column_ < 0) column_ = XOf(cursor_);
    const qsizetype line = std::clamp<qsizetype>(lines_.LineOf(cursor_) + lines, 0, lines_.Count() - 1);
    const qsizetype piece = PieceAt(line, column_);
    const QTextLine laid = Layout(line, piece)->lineAt(0);
    const qsizetype column = laid.isValid() ? laid.xToCursor(column_ - PieceX(line, piece)) : 0;
    return std::min(PieceStart(line, piece) + column, lines_.End(line));
}

void TextBox::EnsureCursorVisible() {
    const qsizetype line = lines_.LineOf(cursor_);
    QScrollBar *v = verticalScrollBar();
    if (line < v->value())
        v->setValue(static_cast<int>(line));
    else if (line >= v->value() + VisibleLines())
        v->setValue(static_cast<int>(line - VisibleLines() + 1));
    QScrollBar *h = horizontalScrollBar();
    // The caret stands at x + margin - value in the viewport; it keeps a margin's room on the right.
    const int x = static_cast<int>(XOf(cursor_));
    if (x < h->value())
        h->setValue(x);
    else if (x + 2 * kMargin - h->value() > viewport()->width())
        h->setValue(x + 2 * kMargin - viewport()->width());
}

void TextBox::keyPressEvent(QKeyEvent *event) {
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        copy();
        return;
    }
    bool extend = false;
    const KeyMove *move = MoveOf(event, extend);
    if (move == nullptr || text_.isEmpty()) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    const qsizetype line = lines_.LineOf(cursor_);
    const bool selection = anchor_ != cursor_;
    switch (move->kind) {
    case Move::Char:
    case Move::Word:
        // Without Shift, a sideways key first leaves the selection at the side it points to.
        if (selection && !extend && move->kind == Move::Char)
            MoveCursor(move->direction > 0 ? std::max(anchor_, cursor_) : std::min(anchor_, cursor_), false);
        else
            MoveCursor(Step(cursor_, move->direction, move->kind == Move::Word), extend);
        break;
    case Move::Line:
        MoveCursor(LineMove(move->direction), extend, true);
        break;
    case Move::Page: {
        QScrollBar *v = verticalScrollBar();
        const int page = VisibleLines();
        const qsizetype target = LineMove(move->direction * page);
        v->setValue(v->value() + move->direction * page);
        MoveCursor(target, extend, true);
        break;
    }
    case Move::LineStart:
        MoveCursor(lines_.Start(line), extend);
        break;
    case Move::LineEnd:
        MoveCursor(lines_.End(line), extend);
        break;
    case Move::Start:
        MoveCursor(0, extend);
        break;
    case Move::End:
        MoveCursor(text_.size(), extend);
        break;
    }
}

void TextBox::mousePressEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    MoveCursor(PositionAt(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
    selecting_ = true;
}

void TextBox::DragTo(QPoint point) {
    dragPoint_ = point;
    MoveCursor(PositionAt(point), true);
    // Outside the text the selection goes on growing, a line or a step at a time, while the
    // button is held.
    if (viewport()->rect().contains(point))
        dragTimer_.stop();
    else if (!dragTimer_.isActive())
        dragTimer_.start(50, this);
}

void TextBox::mouseMoveEvent(QMouseEvent *event) {
    if (selecting_ && (event->buttons() & Qt::LeftButton)) DragTo(event->position().toPoint());
}

void TextBox::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    selecting_ = false;
    dragTimer_.stop();
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (anchor_ != cursor_ && clipboard->supportsSelection())
        clipboard->setText(selectedText(), QClipboard::Selection);
}

void TextBox::SelectWordAt(qsizetype position) {
    const qsizetype line = lines_.LineOf(position);
    position = std::min(position, lines_.End(line));
    const qsizetype piece = PieceOf(line, position);
    const qsizetype start = PieceStart(line, piece);
    const QString shown = Layout(line, piece)->text();
    const int at = static_cast<int>(position - start);
    QTextBoundaryFinder words(QTextBoundaryFinder::Word, shown);
    words.setPosition(at);
    qsizetype from = at;
    if (!(words.boundaryReasons() & QTextBoundaryFinder::StartOfItem))
        from = std::max<qsizetype>(0, words.toPreviousBoundary());
    words.setPosition(at);
    qsizetype to = words.toNextBoundary();
    if (to < 0) to = shown.size();
    anchor_ = start + from;
    MoveCursor(start + to, true);
}

void TextBox::mouseDoubleClickEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    SelectWordAt(PositionAt(event->position().toPoint()));
    selecting_ = false;
}

void TextBox::contextMenuEvent(QContextMenuEvent *event) {
    QMenu menu(this);
    QAction *copyItem = menu.addAction(MenuText("&Copy", QKeySequence::Copy));
    copyItem->setEnabled(anchor_ != cursor_);
    menu.addSeparator();
    QAction *allItem = menu.addAction(MenuText("Select All", QKeySequence::SelectAll));
    allItem->setEnabled(!text_.isEmpty());
    const QAction *chosen = menu.exec(event->globalPos());
    if (chosen == copyItem) copy();
    if (chosen == allItem) selectAll();
}

void TextBox::RestartCaret() {
    caretShown_ = true;
    const int flash = QApplication::cursorFlashTime();
    if (hasFocus() && flash > 0)
        caretTimer_.start(flash / 2, this);
    else
        caretTimer_.stop();
}

void TextBox::focusInEvent(QFocusEvent *event) {
    QAbstractScrollArea::focusInEvent(event);
    RestartCaret();
    viewport()->update();
}

void TextBox::focusOutEvent(QFocusEvent *event) {
    QAbstractScrollArea::focusOutEvent(event);
    caretTimer_.stop();
    viewport()->update();
}

void TextBox::timerEvent(QTimerEvent *event) {
    if (event->timerId() == caretTimer_.timerId()) {
        caretShown_ = !caretShown_;
        viewport()->update();
    } else if (event->timerId() == dragTimer_.timerId()) {
        DragTo(dragPoint_);
    } else {
        QAbstractScrollArea::timerEvent(event);
    }
}
