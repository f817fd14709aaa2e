#pragma once
// The picture value that decoders make, the picture pane draws and the save command writes: a type,
// a size in HIMETRIC (0.01 mm) and the ability to paint itself at its own size.
#include <QByteArray>
#include <QPoint>
#include <cstdint>
#include <optional>

class QPainter;

class Picture {
public:
    enum Kind : int { None = 0, Bitmap = 1, Metafile = 2, Icon = 3, EnhMetafile = 4 };

    virtual ~Picture() = default;
    virtual int Type() const = 0;
    virtual std::int32_t Width() const = 0;  // HIMETRIC
    virtual std::int32_t Height() const = 0; // HIMETRIC
    // Paints the picture at its own size with its top-left corner at `at` (device pixels).
    virtual void Render(QPainter &painter, QPoint at) const = 0;
    // Gives up the system object the picture owns (the bitmap or the icon); true only the first
    // time something was released. Pictures that own nothing of the kind release nothing.
    virtual bool Release() { return false; }
    // The picture in its own file form (a BMP file for a bitmap, an icon file for an icon or
    // cursor, the metafile itself for a metafile); empty when it has none.
    virtual std::optional<QByteArray> FileBytes() const { return std::nullopt; }
};

// Pixels of the screen to HIMETRIC and back, at the screen's logical resolution.
std::int32_t PixelsToHimetric(int pixels, bool horizontal = true);
int HimetricToPixels(double himetric, bool horizontal = true);
