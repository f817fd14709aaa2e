#pragma once
// Our stand-in for the platform's image loader: a bitmap resource with its greys mapped to the 3D
// colours, the one image of an icon or cursor group chosen for the standard size, an icon or
// cursor file. Failures are raised (code 9 for data cut short, 481 for an image that cannot be
// made); the callers turn them into "no picture".
#include "imaging/IconImage.h"
#include "imaging/SystemColours.h"

#include <QImage>
#include <QRgb>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <utility>

// A bitmap resource (a packed DIB) as the loader makes it, drawn opaque, with the greys of its
// colour table replaced: (128,128,128) by the 3D shadow colour, (192,192,192) by the 3D face
// colour, (223,223,223) by the 3D light colour.
QImage LoadBitmapResource(std::span<const std::byte> dib, const SystemColours &colours);

using IconImageLookup = std::function<std::optional<std::span<const std::byte>>(std::uint16_t id)>;
// The group's chosen image, found through `lookup` by its resource identifier.
IconImage LoadIconGroup(std::span<const std::byte> group, bool cursor, const IconImageLookup &lookup);
// An icon or cursor file: the image chosen as for a group.
IconImage LoadIconFile(std::span<const std::byte> file);
