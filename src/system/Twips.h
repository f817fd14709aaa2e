#pragma once
// The window was designed in twips (1/1440 inch); sizes of pictures come in HIMETRIC (1/2540 inch).
// Conversions to whole numbers round to the nearest integer, halves to even.
#include <cmath>
#include <cstdint>

double TwipsPerPixelX();
double TwipsPerPixelY();

inline std::int64_t RoundHalfEven(double v) {
    return static_cast<std::int64_t>(std::nearbyint(v));
}

inline int TwipsToPixelsX(double twips) {
    return static_cast<int>(RoundHalfEven(twips / TwipsPerPixelX()));
}
inline int TwipsToPixelsY(double twips) {
    return static_cast<int>(RoundHalfEven(twips / TwipsPerPixelY()));
}
inline double PixelsToTwipsX(int pixels) {
    return pixels * TwipsPerPixelX();
}
inline double PixelsToTwipsY(int pixels) {
    return pixels * TwipsPerPixelY();
}
inline double HimetricToTwips(double himetric) {
    return himetric * 1440.0 / 2540.0;
}
