#pragma once
// File names for extracted resources, made from the type and the name, and folder names for the
// files a run extracts, made from their names: one plain name (no separator, never "." or "..",
// no character any common file system refuses), unique without regard to case among the names
// already given.
#include "resources/ResourceEntry.h"

#include <QSet>
#include <QString>

// A text as part of a file name: every character other than letters, digits, "-", "_" and "."
// made "_", no leading "." or "-", cut to 64 bytes of UTF-8.
QString SafeNamePart(const QString &text);
// One identifier as part of a file name: an integer in decimal; a string name as SafeNamePart
// makes it, marked "name-" when it is made of digits alone (or empty), so that it cannot be taken
// for the integer of that value.
QString FileNamePart(const ResourceId &id);

class SafeFileNames {
public:
    // TYPE_NAME.extension, with ~2, ~3, ... before the dot where that name was given already.
    QString Assign(const ResourceEntry &entry, const QString &extension);
    // The folder for a file of this name, with ~2, ~3, ... at the end where it was given already.
    QString AssignFolder(const QString &fileName);

private:
    QString Unique(const QString &base, const QString &dotExtension);
    // The case-folded names given, by hash: a run over a million files keeps eight bytes for each
    // (two names of one hash only cost the second a needless ~2).
    QSet<std::size_t> taken_;
};
