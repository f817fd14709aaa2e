#pragma once
// Writing a saved resource to the file the person chose, keeping what that file is.
//
// A new file, or a file of the person's own with one name in a folder they may write, is replaced
// whole: the content goes to a temporary file beside it, which takes the target's name only once
// everything is written, with the target's mode and group, so a failed save leaves the old file
// exactly as it was. Any other target (a folder they may not write, several hard links, another
// owner or a group they cannot give, a symbolic link) is overwritten in place, so it keeps its
// inode, links, owner, group and mode: room for the content is reserved first and the old bytes
// are put back when the write fails, so a full disk or the file-size limit leaves the old content.
// A folder, pipe, device or socket is never written. Failures raise code 75; the description is the
// reason alone, in SystemErrorText's words for a system error.
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <span>

void WriteBytesFile(const QString &path, std::span<const std::byte> bytes);
// The text in the program's ANSI code page (Windows-1251): no byte-order mark, line ends as given.
void WriteTextFile(const QString &path, const QString &text);
