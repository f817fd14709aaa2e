#pragma once
// Writes a thumbnail as OUTPUT, whole or not at all, touching nothing outside OUTPUT's folder.
//
// An empty regular file with one name is the host's placeholder: some hosts make it before they
// call the thumbnailer and read the picture back through the descriptor they keep open, so it is
// filled in place, room taken first, and cut back to empty when the write fails. Any other OUTPUT,
// and a missing one, is replaced by rename: the picture is written into an unnamed file of the
// folder (O_TMPFILE), which gets a fresh name only once complete and then takes OUTPUT's name, so
// a process killed half way leaves nothing behind. Where the file system has no unnamed files (or
// /proc is not there to name one), a fresh name is made first and removed on failure. A folder, a
// device, a pipe or a socket at OUTPUT is never written. Failures raise code 75 with the reason.
#include <QByteArray>
#include <QString>

enum class NewFileWay {
    Unnamed, // O_TMPFILE, named when complete; the fresh name where that is not available
    Named,   // a fresh name from the start
};

void WriteThumbnailFile(const QString &path, const QByteArray &bytes, NewFileWay way = NewFileWay::Unnamed);
