#pragma once
// The picture decoders: a resource of a picture type, or a custom resource that holds a picture
// file, made into a picture value.
#include "imaging/IconImage.h"
#include "imaging/Picture.h"
#include "resources/ModuleCatalogue.h"
#include "system/Made.h"

#include <QImage>
#include <QString>
#include <memory>
#include <optional>

using MadePicture = Made<std::shared_ptr<Picture>>;

// Types "1", "2", "3", "12" and "14" (type strings compared exactly): the cursor or icon image, the
// bitmap, the group's chosen image; or why nothing could be made (missing, unreadable, too large,
// not a picture type). For types "1" and "3" a missing resource raises code 9.
MadePicture DecodeResourcePicture(const ModuleCatalogue &module, const ResourceEntry &entry);
// The same for the loaded module by identifier strings; empty when nothing could be made.
std::shared_ptr<Picture> ResourcePicture(const QString &type, const QString &name);
// The same in `module`: what a dialog's icon and bitmap controls load from their own module.
std::shared_ptr<Picture> ResourcePicture(const ModuleCatalogue &module, const QString &type,
                                         const QString &name);

// A custom resource ("JPG", "JPEG", "GIF", "WMF", "EMF") holding a picture file, loaded through
// the temporary file: the file is deleted after a successful load and left (until the next
// StopPlayback) when the loader refuses the data with the invalid-picture failure (481). A
// missing resource raises code 9, as does any failure of the loader.
std::shared_ptr<Picture> TempFilePicture(const ModuleCatalogue &module, const ResourceEntry &entry);
std::shared_ptr<Picture> TempFilePicture(const QString &type, const QString &name);

// A bitmap made into a picture of type bitmap.
std::shared_ptr<Picture> BitmapPicture(QImage bitmap);
// An icon or cursor made into a picture of type icon; nothing when there is none.
std::shared_ptr<Picture> IconPicture(std::optional<IconImage> icon);
