#pragma once
// What the header of one icon or cursor image says of it before any pixel is decoded. Resources
// and icon files store each image as a DIB followed by its mask, or as a whole PNG file.
#include <cstddef>
#include <cstdint>
#include <span>

// Whether the data starts with the PNG signature.
bool IsPng(std::span<const std::byte> data);

struct IconImageShape {
    std::uint32_t width = 0, height = 0; // of the image, not of image and mask
    std::uint16_t bitCount = 0;
};

// The size and depth the image states in its own header: a PNG's IHDR chunk, or the DIB's info
// or core header, whose height counts the image and its mask. Raises code 9 for a header cut
// short and the invalid-picture failure (481) for a header of no known kind.
IconImageShape StoredShape(std::span<const std::byte> image);
