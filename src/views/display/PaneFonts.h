#pragma once
// The faces the window was designed with ("MS Sans Serif" for the display box and the text pane,
// "Courier New" for dumps) are not on a Linux system: each is mapped once to the face that stands
// in for it, the same one dialog previews use. Requests keep the designed names.
#include <QFont>

void InstallPaneFontSubstitutes();
// "MS Sans Serif", 8 points: the display box's own font and the text pane's proportional font.
QFont DesignFont();
