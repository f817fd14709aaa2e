#pragma once
// A whole icon group (type 14) as an icon file, or a whole cursor group (type 12) as a cursor
// file: every image the group names, in the group's order, each stored as the module holds it
// (a DIB with its mask, or a PNG file) and unchanged.
#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

// The data of the icon (type 3) or cursor (type 1) resource with this identifier; empty when the
// module has none.
using GroupImageData = std::function<std::optional<std::vector<std::byte>>(std::uint16_t id)>;

// Icon entries keep the group's own fields (size, colour count, planes, bit count). A cursor
// group's fields do not fit a cursor file's (its height may count the mask or not, as resource
// compilers differ), so each cursor entry takes its size and colour count from the image itself
// and its hotspot from the four bytes that precede the image in the resource. Every entry gives
// the size of the bytes it stores. Raises code 9 for data cut short, the invalid-picture failure
// (481) for a group of no images or one whose image is missing or unreadable, and code 7 for a
// file past kMostGroupFileBytes (known before any image is kept: the images are read once to
// count them, and again to copy them).
QByteArray IconGroupFile(std::span<const std::byte> group, bool cursor, const GroupImageData &images);

// A group may name one image many times, and a module may give many identifiers the same data: the
// largest file made for a group. Real groups stay under a few megabytes.
inline constexpr std::size_t kMostGroupFileBytes = std::size_t{1} << 28;
