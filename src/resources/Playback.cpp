#include "resources/Playback.h"

#include "media/MediaDevices.h"
#include "system/ErrorReport.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
bool TempFileExists() {
    struct stat st {};
    return ::lstat(QFile::encodeName(TempFilePath()).constData(), &st) == 0;
}

[[noreturn]] void FileAccessError() {
    throw ErrorReport(ErrorReport::FileAccess, QStringLiteral("Ошибка доступа к пути/файлу"));
}
} // namespace

const QString &TempFilePath() {
    static const QString path = [] {
        QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        if (dir.isEmpty()) dir = QDir::tempPath();
        return dir + QStringLiteral("/zorvika-%1.tmp").arg(QCoreApplication::applicationPid());
    }();
    return path;
}

void WriteTempFile(std::span<const std::byte> bytes) {
    const QByteArray path = QFile::encodeName(TempFilePath());
    ::unlink(path.constData()); // a stale file of an earlier process with the same id
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) FileAccessError();
    const std::byte *p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ::close(fd);
            FileAccessError();
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0) FileAccessError();
}

void StopPlayback() {
    if (!TempFileExists()) return;
    MediaDevices::CloseAll();
    ::unlink(QFile::encodeName(TempFilePath()).constData());
}
