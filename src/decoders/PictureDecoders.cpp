#include "decoders/PictureDecoders.h"

// Not decoded yet: no picture, which the view reports as a resource it cannot load.
std::shared_ptr<Picture> ResourcePicture(const QString &, const QString &) { return nullptr; }
