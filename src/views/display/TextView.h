#pragma once
// The text pane: renderings in the text box, one-line messages on the display box.
#include <QString>

class TextBox;
class DisplayBox;
class Ui;

// Texts longer than this are loaded only after the person agrees.
inline constexpr int kTextBoxLimit = 65534;

// Puts the text into the box in a proportional ("MS Sans Serif") or fixed-pitch ("Courier New")
// font, Cyrillic character set. False for an empty text or when the person declines a long one.
bool ShowText(const QString &text, bool proportional, TextBox &box, Ui &ui);
// Prints a line at the display's print position; false for an empty or over-long text.
bool PrintMessage(const QString &text, DisplayBox &target);
