#pragma once
// Directories of icon and cursor images: the group resources (types 14 and 12), which name their
// images by resource identifier, and icon and cursor files, which give their offsets.
#include <QPoint>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

struct IconDirEntry {
    int width = 0;  // pixels (a 0 byte in an icon entry means 256)
    int height = 0; // pixels of the image, not of image and mask
    int colorCount = 0;
    int bitCount = 0;
    std::uint32_t bytes = 0;
    std::uint32_t idOrOffset = 0; // resource identifier (groups) or file offset (files)
    QPoint hotspot;               // cursor files only
};

struct IconDirectory {
    bool cursor = false;
    std::vector<IconDirEntry> entries;
};

// A group resource: GRPICONDIR (14-byte entries with 8-bit sizes) or its cursor form (16-bit width
// and a height that counts image and mask).
IconDirectory ReadGroupDirectory(std::span<const std::byte> data, bool cursor);
// An icon (type 1) or cursor (type 2) file's directory; the type comes from the file.
IconDirectory ReadIconFileDirectory(std::span<const std::byte> file);

// The platform's standard icon size, which a group's image is chosen for.
constexpr int kStandardIconSize = 32;
// The index of the entry whose size is closest to the standard size, the deepest colour among
// equals, the first among those; empty for an empty directory.
std::optional<std::size_t> ChooseIconEntry(const IconDirectory &directory);
// The index of the entry that serves a picture of `size` x `size` best, as a thumbnail is made:
// the smallest (by area) whose sides are both at least `size`, else the largest; the deepest
// colour among equal areas, the first among those. Empty for an empty directory.
std::optional<std::size_t> ChooseIconEntryFor(const IconDirectory &directory, int size);
