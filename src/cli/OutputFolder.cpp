#include "cli/OutputFolder.h"

#include "cli/CheckedWrite.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QByteArray TempName() {
    return ".zorvika-cli-" + QByteArray::number(QRandomGenerator::system()->generate64(), 36) + ".tmp";
}

bool PlainName(const QByteArray &name) {
    return !name.isEmpty() && name != "." && name != ".." && !name.contains('/') && !name.contains('\0');
}
} // namespace

std::unique_ptr<OutputFolder> OutputFolder::Open(const QString &path, TempNames *temporaries, QString &reason) {
    if (!QDir().mkpath(path)) {
        reason = QStringLiteral("не удаётся создать папку %1").arg(path);
        return nullptr;
    }
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        reason = QStringLiteral("не удаётся открыть папку %1: %2").arg(path, SystemReason(errno));
        return nullptr;
    }
    return std::unique_ptr<OutputFolder>(new OutputFolder(fd, path, temporaries));
}

OutputFolder::~OutputFolder() {
    ::close(fd_);
}

std::unique_ptr<OutputFolder> OutputFolder::Subfolder(const QStringList &names, QString &reason) const {
    int at = fd_;
    QString path = path_;
    auto fail = [&](int error) {
        reason = QStringLiteral("не удаётся открыть папку %1: %2").arg(path, SystemReason(error));
        if (at != fd_) ::close(at);
        return nullptr;
    };
    for (const QString &name : names) {
        const QByteArray encoded = QFile::encodeName(name);
        path = QDir(path).filePath(name);
        if (!PlainName(encoded)) return fail(EINVAL);
        bool made = ::mkdirat(at, encoded.constData(), 0777) == 0;
        if (!made && errno != EEXIST) return fail(errno);
        // A new folder is flushed into its parent, so that it is there after a crash of the system.
        if (made && ::fsync(at) != 0) return fail(errno);
        const int next = ::openat(at, encoded.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (next < 0) return fail(errno);
        if (at != fd_) ::close(at);
        at = next;
    }
    if (at == fd_) at = ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
    if (at < 0) return fail(errno);
    return std::unique_ptr<OutputFolder>(new OutputFolder(at, path, temporaries_));
}

bool OutputFolder::Write(const QString &name, const QByteArray &bytes, QString &reason) {
    const QByteArray target = QFile::encodeName(name);
    if (!PlainName(target)) {
        reason = QStringLiteral("недопустимое имя файла");
        return false;
    }
    // Preferably an unnamed file, which nothing can leave behind; it gets a name only when whole.
    QByteArray temp;
    TempNames::Held held;
    auto hold = [&] {
        if (temporaries_ != nullptr) held = temporaries_->Hold(fd_, temp);
    };
    int fd = ::openat(fd_, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    const bool unnamed = fd >= 0;
    for (int attempt = 0; !unnamed && attempt < 16; ++attempt) {
        temp = TempName();
        hold();
        fd = ::openat(fd_, temp.constData(), O_CREAT | O_EXCL | O_WRONLY | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) break;
    }
    auto fail = [&](int error) {
        reason = SystemReason(error);
        if (fd >= 0) ::close(fd);
        if (!temp.isEmpty()) ::unlinkat(fd_, temp.constData(), 0);
        return false;
    };
    if (fd < 0) return fail(errno);
    if (const int error = WriteAll(fd, bytes)) return fail(error);
    // On disk before it takes the name: a crash never leaves the name on a file that is not whole.
    if (::fsync(fd) != 0) return fail(errno);
    if (unnamed) {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
        int error = 0;
        for (int attempt = 0; attempt < 16; ++attempt) {
            temp = TempName();
            hold();
            if (::linkat(AT_FDCWD, self.constData(), fd_, temp.constData(), AT_SYMLINK_FOLLOW) == 0) break;
            error = errno;
            temp.clear();
            if (error != EEXIST) break;
        }
        if (temp.isEmpty()) return fail(error);
    }
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0) return fail(errno);
    if (::renameat(fd_, temp.constData(), fd_, target.constData()) != 0) return fail(errno);
    return true;
}

bool OutputFolder::Sync(QString &reason) {
    if (::fsync(fd_) == 0) return true;
    reason = QStringLiteral("не удаётся записать папку %1: %2").arg(path_, SystemReason(errno));
    return false;
}
