#pragma once
// The folder extract writes into. Every file is written under a temporary name inside the folder,
// flushed to disk, and renamed over its own name only once it is whole: no file outside the folder
// is ever touched (a link of the same name is replaced, never followed), and no half-written file
// is left, even when the program is interrupted (the run's TempNames record the temporary name).
// Sync flushes the folder itself, so that the names survive a crash of the system too.
#include "cli/InterruptCleanup.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

class OutputFolder {
public:
    // Opens the folder, making it and its parents when they do not exist; nullptr and the reason
    // when that fails. `temporaries` may be null (nothing is recorded).
    static std::unique_ptr<OutputFolder> Open(const QString &path, TempNames *temporaries, QString &reason);
    ~OutputFolder();
    OutputFolder(const OutputFolder &) = delete;
    OutputFolder &operator=(const OutputFolder &) = delete;

    // The folder `names` below this one, each made when missing; each name is one plain name, and
    // a link in the way is refused, never followed. Used from several threads at once.
    std::unique_ptr<OutputFolder> Subfolder(const QStringList &names, QString &reason) const;

    // `name` is one plain file name; anything else (a separator, ".", "..") is refused. False and
    // the reason when the file could not be written; the folder then holds what it held before.
    bool Write(const QString &name, const QByteArray &bytes, QString &reason);
    // Flushes the folder's entries to disk; false and the reason when that fails.
    bool Sync(QString &reason);
    const QString &path() const { return path_; }

private:
    OutputFolder(int fd, QString path, TempNames *temporaries)
        : fd_(fd), path_(std::move(path)), temporaries_(temporaries) {}
    int fd_;
    QString path_;
    TempNames *temporaries_;
};
