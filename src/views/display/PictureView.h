#pragma once
// The picture view: a picture drawn at its own size in the display box, centred in the visible
// area, with three lines of information printed over it.
#include <QImage>
#include <QString>
#include <memory>

class DisplayBox;
class Picture;

// "Точечный рисунок или рисунок в аналогичном формате", "Иконка или курсор", ... by picture type.
QString PictureTypeName(int type);
// False when there is no picture. Releases the picture's own system object once drawn.
bool ShowPicture(const std::shared_ptr<Picture> &picture, DisplayBox &display);

// The picture drawn at its own size on the scratch box, which takes the picture's size: the
// box's persistent image (the picture over the box's background colour).
QImage DrawOnScratch(const Picture &picture, DisplayBox &scratch);
