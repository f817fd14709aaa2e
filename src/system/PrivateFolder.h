#pragma once
// Files that no other user of the machine can plant, link, read or remove: each one is created
// under an unpredictable name in a folder of this process that only its user can enter.
#include <QString>

struct PrivateFile {
    int fd = -1;  // open for writing; the caller closes it
    QString path; // for whoever opens it next by name
};

// Creates a new empty file, mode 0600, named by random characters and ".tmp". Its folder is made
// on first use in $XDG_RUNTIME_DIR when that is the user's own with mode 0700, else in $TMPDIR (or
// /tmp when unset) when no other user can rename what lies there; before every use the folder is
// checked on its opened descriptor: a folder, not a link, owned by the user, mode exactly 0700.
// There is no fallback to a shared name: fd is -1 when no private place can be had.
PrivateFile CreatePrivateFile();
