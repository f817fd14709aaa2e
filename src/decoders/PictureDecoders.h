#pragma once
// The picture decoders: a resource of a picture type, or a custom resource that holds a picture
// file, made into a picture value.
#include "imaging/IconImage.h"
#include "imaging/Picture.h"
#include "imaging/SystemColours.h"
#include "resources/ModuleCatalogue.h"
#include "system/Made.h"

#include <QImage>
#include <memory>
#include <optional>

using MadePicture = Made<std::shared_ptr<Picture>>;

// Cursors (1), bitmaps (2), icons (3) and their groups (12, 14): the cursor or icon image, the
// bitmap with its greys in `colours`, the group's chosen image; or why nothing could be made
// (missing, unreadable, too large, not a picture type). For types 1 and 3 a missing resource
// raises code 9.
MadePicture DecodeResourcePicture(const ModuleCatalogue &module, const ResourceEntry &entry,
                                  const SystemColours &colours);

// A custom resource ("JPG", "JPEG", "GIF", "WMF", "EMF") holding a picture file, read from its
// bytes. A missing or empty resource raises code 9; data in no format the loader reads raises the
// invalid-picture failure (481).
std::shared_ptr<Picture> DecodePictureFile(const ModuleCatalogue &module, const ResourceEntry &entry);

// A bitmap made into a picture of type bitmap.
std::shared_ptr<Picture> BitmapPicture(QImage bitmap);
// An icon or cursor made into a picture of type icon; nothing when there is none.
std::shared_ptr<Picture> IconPicture(std::optional<IconImage> icon);
