#pragma once
// The system colours a picture is loaded and drawn with: the 3D colours that take the place of a
// bitmap's greys, and the button face that icons are drawn over when saved as bitmaps. The window
// takes them from the desktop's theme; the command-line tool uses fixed ones, so what it writes
// depends only on the file.
#include <QPalette>
#include <QRgb>

struct SystemColours {
    QRgb shadow3D = qRgb(160, 160, 160); // in place of (128,128,128)
    QRgb face3D = qRgb(240, 240, 240);   // in place of (192,192,192); the button face
    QRgb light3D = qRgb(227, 227, 227);  // in place of (223,223,223)

    // The defaults above are the platform's own standard theme. From a theme: Dark, Button and
    // Midlight (Midlight sits between the face and the highlight, where the 3D light colour is).
    static SystemColours OfTheme(const QPalette &palette) {
        return {palette.color(QPalette::Active, QPalette::Dark).rgb(),
                palette.color(QPalette::Active, QPalette::Button).rgb(),
                palette.color(QPalette::Active, QPalette::Midlight).rgb()};
    }
};
