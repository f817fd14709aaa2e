#include "resources/Playback.h"

#include "media/MediaDevices.h"
#include "system/ErrorReport.h"
#include "system/PrivateFolder.h"

#include <QFile>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString &CurrentTempFile() {
    static QString path;
    return path;
}

bool TempFileExists() {
    struct stat st {};
    return ::lstat(QFile::encodeName(TempFilePath()).constData(), &st) == 0;
}

[[noreturn]] void FileAccessError(const QString &reason = QString()) {
    QString description = QStringLiteral("Ошибка доступа к пути/файлу");
    if (!reason.isEmpty()) description += QStringLiteral(": ") + reason;
    throw ErrorReport(ErrorReport::FileAccess, description);
}
} // namespace

const QString &TempFilePath() {
    return CurrentTempFile();
}

void WriteTempFile(std::span<const std::byte> bytes) {
    // One file at a time: a caller that did not stop playback first still leaves only this one.
    if (!CurrentTempFile().isEmpty()) ::unlink(QFile::encodeName(CurrentTempFile()).constData());
    const PrivateFile file = CreatePrivateFile();
    if (file.fd < 0) FileAccessError(QStringLiteral("нет личной папки для временного файла"));
    CurrentTempFile() = file.path;
    const std::byte *p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(file.fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ::close(file.fd);
            FileAccessError();
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (::close(file.fd) != 0) FileAccessError();
}

void StopPlayback() {
    if (!TempFileExists()) return;
    MediaDevices::CloseAll();
    ::unlink(QFile::encodeName(TempFilePath()).constData());
}
