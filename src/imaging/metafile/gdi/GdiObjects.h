#pragma once
// The drawing objects a metafile creates and selects: pens, brushes, fonts, palettes and regions,
// with their logical fields as the records give them.
#include <QImage>
#include <QRegion>
#include <QRgb>
#include <QString>
#include <cstdint>
#include <variant>
#include <vector>

struct GdiPen {
    std::uint32_t style = 0; // PS_* style, end cap, join and type bits
    double width = 0;        // logical units; 0 is one device pixel
    QRgb color = qRgb(0, 0, 0);
    bool cosmetic = true;              // a pen of one device pixel whatever its width (ExtCreatePen cosmetic)
    std::vector<std::uint32_t> dashes; // PS_USERSTYLE

    std::uint32_t Kind() const { return style & 0x0Fu; }
    bool IsNull() const { return Kind() == 5; } // PS_NULL
};

struct GdiBrush {
    std::uint32_t style = 0; // BS_SOLID 0, BS_NULL 1, BS_HATCHED 2, BS_PATTERN 3, BS_DIBPATTERN(PT) 5, 6
    QRgb color = qRgb(255, 255, 255);
    std::uint32_t hatch = 0;
    QImage pattern; // pattern brushes

    bool IsNull() const { return style == 1; }
};

struct GdiFont {
    std::int32_t height = 0; // < 0: character height, > 0: cell height, 0: the default size
    std::int32_t width = 0;
    std::int32_t escapement = 0; // tenths of a degree, counter-clockwise
    std::int32_t weight = 400;
    bool italic = false, underline = false, strikeOut = false;
    std::uint8_t charSet = 0;
    QString faceName;
};

struct GdiPalette {
    std::vector<QRgb> entries;
};

struct GdiRegion {
    QRegion region; // logical units
};

using GdiObject = std::variant<GdiPen, GdiBrush, GdiFont, GdiPalette, GdiRegion>;
