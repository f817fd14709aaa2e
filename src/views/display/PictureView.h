#pragma once
// The picture view: a picture drawn at its own size in the display box, centred in the visible
// area, with three lines of information printed over it.
#include <QImage>
#include <QString>
#include <memory>

class DisplayBox;
class Picture;
struct Viewport;

// "Точечный рисунок или рисунок в аналогичном формате", "Иконка или курсор", ... by picture type.
QString PictureTypeName(int type);
// False when there is no picture. Releases the picture's own system object once drawn.
// The box never becomes smaller than the visible area and grows for a larger picture.
bool ShowPicture(const std::shared_ptr<Picture> &picture, DisplayBox &display, const Viewport &viewport);
