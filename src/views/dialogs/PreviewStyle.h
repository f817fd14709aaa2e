#pragma once
// The look of a dialog preview: the platform's classic controls and colours, whatever look the
// rest of the program has.
#include <QPalette>

class QStyle;
class QWidget;

// The classic control style, one instance for the whole program; the program's own style when the
// classic one is not available.
QStyle *PreviewStyle();
// The classic colour scheme: 3D face, shadows, highlight, grey text.
QPalette PreviewPalette();
// Gives the widget and all its descendants the preview style (a widget's style is not inherited).
void ApplyPreviewStyle(QWidget *root);
