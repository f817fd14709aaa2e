#pragma once
// File names for extracted resources, made from the type and the name: one plain name (no
// separator, never "." or "..", no character any common file system refuses), unique without
// regard to case among the names already given.
#include "resources/ResourceEntry.h"

#include <QSet>
#include <QString>

// One identifier as part of a file name: an integer in decimal; a string name with every character
// other than letters, digits, "-", "_" and "." made "_", no leading "." or "-", cut to 64 bytes of
// UTF-8, and marked "name-" when it is made of digits alone (or empty), so that it cannot be taken
// for the integer of that value.
QString FileNamePart(const ResourceId &id);

class SafeFileNames {
public:
    // TYPE_NAME.extension, with ~2, ~3, ... before the dot where that name was given already.
    QString Assign(const ResourceEntry &entry, const QString &extension);

private:
    QSet<QString> taken_; // case-folded
};
