#pragma once
// The multi-line text box of the text pane: read-only, selectable with mouse and keyboard, both
// scroll bars as needed (long lines are not wrapped). It keeps the text exactly as it was given
// (lines end with CR LF, as the renderings and the saved text files have them) and shows it as
// plain text, never as markup. Only what is visible is laid out, so a text of many megabytes
// appears and scrolls as fast as a short one; the vertical bar counts lines, the horizontal pixels.
#include "views/display/TextAdvances.h"
#include "views/display/TextLines.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QFont>
#include <QHash>
#include <QString>
#include <QTextLayout>
#include <memory>
#include <vector>

class TextBox : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TextBox(QWidget *parent = nullptr);
    ~TextBox() override;

    void setText(const QString &text);
    const QString &text() const { return text_; }

    // The selection as copied: its characters, each CR LF given as a plain line break.
    QString selectedText() const;
    void selectAll();
    // Puts the selection on the clipboard; nothing happens when there is none.
    void copy() const;

protected:
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:
    // A long line is laid out in pieces of this many characters, each placed where the advances
    // of the characters before it end, so no layout ever holds more than a screenful of a line.
    static constexpr qsizetype kPiece = 1024;
    static constexpr int kMargin = 4; // between the frame and the text, on every side

    // Text layout and geometry (TextBox.cpp).
    void Relayout();
    void UpdateScrollBars();
    qsizetype PieceCount(qsizetype line) const;
    qsizetype PieceStart(qsizetype line, qsizetype piece) const;
    qreal PieceX(qsizetype line, qsizetype piece);
    qsizetype PieceAt(qsizetype line, qreal x);
    qsizetype PieceOf(qsizetype line, qsizetype position) const;
    std::shared_ptr<QTextLayout> Layout(qsizetype line, qsizetype piece);
    int LineHeight() const { return lineHeight_; }
    int VisibleLines() const;
    // Text positions and points of the text's own plane (before scrolling).
    qsizetype PositionAt(QPoint viewportPoint);
    qreal XOf(qsizetype position);
    QPoint ToViewport(qsizetype line, qreal x) const;

    // Caret and selection (TextBoxInput.cpp).
    bool IsOwnKey(QKeyEvent *event) const;
    void MoveCursor(qsizetype position, bool keepAnchor, bool keepColumn = false);
    qsizetype Step(qsizetype position, int direction, bool words);
    qsizetype LineMove(int lines);
    void EnsureCursorVisible();
    void SelectWordAt(qsizetype position);
    void DragTo(QPoint viewportPoint);
    void RestartCaret();

    QString text_;
    TextLines lines_;
    QFont drawFont_; // the box's font without kerning, so advances add up to widths
    int lineHeight_ = 1;
    int ascent_ = 0;
    qreal tabStop_ = 80;
    qreal widest_ = 0; // the widest line known, in pixels
    std::unique_ptr<TextAdvances> advances_;
    QHash<std::pair<qsizetype, qsizetype>, std::shared_ptr<QTextLayout>> layouts_;
    QHash<qsizetype, std::vector<qreal>> pieceXs_; // where each piece of a long line starts

    qsizetype anchor_ = 0, cursor_ = 0;
    qreal column_ = -1; // the x that up and down keep to; negative when the caret's own x counts
    bool selecting_ = false;
    bool caretShown_ = true;
    QPoint dragPoint_;
    QBasicTimer caretTimer_, dragTimer_;
};
