#include "imaging/Picture.h"

#include "system/Twips.h"

std::int32_t PixelsToHimetric(int pixels, bool horizontal) {
    const double tpp = horizontal ? TwipsPerPixelX() : TwipsPerPixelY();
    return static_cast<std::int32_t>(RoundHalfEven(pixels * tpp * 2540.0 / 1440.0));
}

int HimetricToPixels(double himetric, bool horizontal) {
    const double tpp = horizontal ? TwipsPerPixelX() : TwipsPerPixelY();
    return static_cast<int>(RoundHalfEven(himetric * 1440.0 / 2540.0 / tpp));
}
