#pragma once
// A picture box whose drawing is persistent: what is drawn or printed on it stays and repaints
// itself until the box is cleared. It keeps each drawing as the pixels it produced, at the place it
// was drawn, and each printed text as text, never one bitmap of the box's size: a box of 30,000
// pixels costs no more than what is drawn on it, and a paint draws only the part that is exposed.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <variant>
#include <vector>

class DisplayBox : public QWidget {
    Q_OBJECT
public:
    explicit DisplayBox(QWidget *parent = nullptr);

    // Erases every drawing and printed line; the print position goes back to the top-left corner.
    void Cls();
    // Prints the text at the print position and ends the line; CR LF inside the text breaks it too.
    void Print(const QString &text);
    // Lays the image over the box with its top-left corner at `at`, as drawing it there would; the
    // box keeps the image itself (a shared copy, not a new one).
    void DrawImage(QPoint at, const QImage &image);
    // Paints with a painter in the box's pixel coordinates over what the box shows in `area`, so
    // raster operations meet the pixels beneath; what ends up in `area` is kept.
    void Draw(const QRect &area, const std::function<void(QPainter &)> &paint);
    // Moves and sizes the box in pixels; ResizeHandler runs at once when the size changes.
    void Move(int left, int top, int width, int height);
    // The box's Resize event. A plain call, not a signal: a failure raised in it travels to the
    // trap of the command that changed the size.
    std::function<void()> ResizeHandler;

    QPoint printPosition() const { return printPosition_; }
    void SetPrintPosition(QPoint at) { printPosition_ = at; }
    // The lines printed since the last Cls, for whoever needs to read the display back.
    const QStringList &printedLines() const { return printed_; }
    bool hasDrawings() const { return !layers_.empty(); }
    // The box's persistent image: its background colour with everything drawn on it.
    QImage Snapshot() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Drawing {
        QPoint at;
        QImage image;
    };
    struct Printing {
        QPoint at; // the top-left corner of the first line
        QStringList lines;
        QFont font;
        QColor colour;
        QRect area; // generous bounds, only to skip what an exposed rectangle does not reach
    };
    using Layer = std::variant<Drawing, Printing>;

    // Paints, in the order they were made, the layers that reach `exposed` (box coordinates).
    void PaintLayers(QPainter &painter, const QRect &exposed) const;

    std::vector<Layer> layers_;
    QStringList printed_;
    QPoint printPosition_;
};
