#pragma once
// The picture decoders: a resource of a picture type, or a custom resource that holds a picture
// file, made into a picture value.
#include "platform/Picture.h"

#include <QString>
#include <memory>

// Types "1", "2", "3", "12" and "14" (compared exactly): the cursor or icon image, the bitmap, the
// group's chosen image. Empty when nothing could be made.
std::shared_ptr<Picture> ResourcePicture(const QString &type, const QString &name);
