#pragma once
// The font of a dialog and its average character size, which the dialog's units are made of.
#include "formats/DialogTemplate.h"

#include <QFont>
#include <optional>

// The average character width and the character height of a font in pixels, measured as the
// platform measures them for dialog units.
struct DialogBaseUnits {
    int cx = 0;
    int cy = 0;
    bool operator==(const DialogBaseUnits &) const = default;
};

// The font a dialog asks for, at the screen's resolution: its face resolved to one this system has
// (the platform's dialog faces are not found on Linux), size, weight and italics. Without a font
// block, the platform's system font.
QFont DialogFontFor(const std::optional<DialogFont> &font);
// The family that stands in for a face name a template asks for.
QString ResolveFaceName(const QString &face);
// The platform's character height (ascent + descent from the font's Windows metrics, as GDI
// computes them for a TrueType font); Qt's own height for fonts without them.
int PlatformFontHeight(const QFont &font);
// Average width of the 52 Latin letters "a"-"z" and "A"-"Z", rounded, and the character height.
DialogBaseUnits MeasureBaseUnits(const QFont &font);
