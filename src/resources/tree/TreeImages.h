#pragma once
// The images of the resource tree (the image list ILResources): four of 16 x 16 pixels,
// numbered from 1 as the tree refers to them.
#include <QIcon>
#include <QImage>

namespace TreeImage {
constexpr int File = 1;
constexpr int Type = 2;
constexpr int TypeSelected = 3;
constexpr int Resource = 4;
} // namespace TreeImage

QImage ILResourcesImage(int number);
// An icon showing `image` normally and `selectedImage` while its node is selected; a null icon
// for image 0 (no image).
QIcon ILResourcesIcon(int image, int selectedImage);
