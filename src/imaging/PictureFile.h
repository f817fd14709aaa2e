#pragma once
// Our stand-in for the platform's picture file loader: a BMP, ICO, CUR, WMF, EMF, GIF or JPEG file
// made into a picture, the format recognised from the data alone.
#include "imaging/Picture.h"

#include <QString>
#include <cstddef>
#include <memory>
#include <span>

// Raises the invalid-picture failure (481) for data in no format the loader reads.
std::shared_ptr<Picture> LoadPictureFromData(std::span<const std::byte> data);
