#pragma once
// A picture box whose drawing is persistent: what is drawn or printed on it stays and repaints
// itself until the box is cleared. Drawings are kept as recorded painter commands, not as one
// bitmap of the box's size, so a box of 30,000 pixels costs no more than what is drawn on it.
#include <QImage>
#include <QList>
#include <QPicture>
#include <QPoint>
#include <QStringList>
#include <QWidget>
#include <functional>

class DisplayBox : public QWidget {
    Q_OBJECT
public:
    explicit DisplayBox(QWidget *parent = nullptr);

    // Erases every drawing and printed line; the print position goes back to the top-left corner.
    void Cls();
    // Prints the text at the print position and ends the line; CR LF inside the text breaks it too.
    void Print(const QString &text);
    // Draws persistently with a painter in the box's pixel coordinates.
    void Draw(const std::function<void(QPainter &)> &paint);
    // Moves and sizes the box in pixels; ResizeHandler runs at once when the size changes.
    void Move(int left, int top, int width, int height);
    // The box's Resize event. A plain call, not a signal: a failure raised in it travels to the
    // trap of the command that changed the size.
    std::function<void()> ResizeHandler;

    QPoint printPosition() const { return printPosition_; }
    void SetPrintPosition(QPoint at) { printPosition_ = at; }
    // The lines printed since the last Cls, for whoever needs to read the display back.
    const QStringList &printedLines() const { return printed_; }
    bool hasDrawings() const { return !drawings_.isEmpty(); }
    // The box's persistent image: its background colour with everything drawn on it.
    QImage Snapshot() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QList<QPicture> drawings_;
    QStringList printed_;
    QPoint printPosition_;
};
