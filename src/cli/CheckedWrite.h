#pragma once
// The one way zorvika-cli writes: to standard output, and to the files extract makes. Every byte
// is written or the failure is known, with the system's reason.
#include <QByteArray>
#include <QString>

// Writes all of `bytes` to `fd`, resuming after interruptions and short writes; 0, or the errno of
// the write that failed (EPIPE for a reader that went away, ENOSPC for a full disk, ...).
int WriteAll(int fd, const QByteArray &bytes);
// The system's words for an errno value.
QString SystemReason(int error);
