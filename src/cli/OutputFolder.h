#pragma once
// The folder extract writes into. Every file is written under a temporary name inside the folder
// and renamed over its own name only once it is whole: no file outside the folder is ever touched
// (a link of the same name is replaced, never followed), and no half-written file is left, even
// when the program is interrupted.
#include <QByteArray>
#include <QString>
#include <memory>

class OutputFolder {
public:
    // Opens the folder, making it and its parents when they do not exist; nullptr and the reason
    // when that fails.
    static std::unique_ptr<OutputFolder> Open(const QString &path, QString &reason);
    ~OutputFolder();
    OutputFolder(const OutputFolder &) = delete;
    OutputFolder &operator=(const OutputFolder &) = delete;

    // `name` is one plain file name; anything else (a separator, ".", "..") is refused. False and
    // the reason when the file could not be written; the folder then holds what it held before.
    bool Write(const QString &name, const QByteArray &bytes, QString &reason);
    const QString &path() const { return path_; }

private:
    OutputFolder(int fd, QString path) : fd_(fd), path_(std::move(path)) {}
    int fd_;
    QString path_;
};
