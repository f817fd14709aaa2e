#include "thumbnailer/ThumbnailFile.h"

#include "system/ByteView.h"
#include "system/Descriptor.h"
#include "system/ErrorReport.h"

#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
[[noreturn]] void FailWith(int error) {
    throw ErrorReport(ErrorReport::FileAccess, QStringLiteral("не удаётся записать миниатюру: %1")
                                                   .arg(QString::fromLocal8Bit(std::strerror(error))));
}

QByteArray FolderOf(const QByteArray &path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0) return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

// A name in OUTPUT's folder that nothing has, for a file about to take OUTPUT's name.
QByteArray FreshName(const QByteArray &path) {
    const QByteArray name = path.mid(path.lastIndexOf('/') + 1).left(200);
    return FolderOf(path) + "/." + name + '.' +
           QByteArray::number(QRandomGenerator::system()->generate64(), 36);
}

// The placeholder filled in place: true when done, false when `path` is not (or no longer) an empty
// file with one name, so that it is replaced instead.
bool FillPlaceholder(const QByteArray &path, const QByteArray &bytes, const struct stat &seen) {
    Descriptor file(::open(path.constData(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0) {
        if (errno == ELOOP || errno == ENOENT) return false;
        FailWith(errno);
    }
    struct stat now {};
    if (::fstat(file.get(), &now) != 0) FailWith(errno);
    if (now.st_dev != seen.st_dev || now.st_ino != seen.st_ino || !S_ISREG(now.st_mode) || now.st_size != 0 ||
        now.st_nlink != 1)
        return false;
    // Room first: a full disk is found before the placeholder changes.
    if (::fallocate(file.get(), FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(bytes.size())) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS)
        FailWith(errno);
    if (WriteAll(file.get(), AsBytes(bytes)) && file.Close()) return true;
    const int error = errno;
    if (file.get() >= 0) ::ftruncate(file.get(), 0);
    FailWith(error);
}

// Writes `bytes` into a file of its own that then takes `path`'s name by rename. `unnamed`: start
// with an O_TMPFILE, named only once written.
void ReplaceWhole(const QByteArray &path, const QByteArray &bytes, bool unnamed) {
    const QByteArray folder = FolderOf(path);
    QByteArray temp;
    int fd = -1;
    if (unnamed) {
        fd = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        // No unnamed files on this file system: a fresh name from the start.
        if (fd < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) FailWith(errno);
        unnamed = fd >= 0;
    }
    for (int attempt = 0; fd < 0 && attempt < 64; ++attempt) {
        temp = FreshName(path);
        fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) FailWith(errno);
    }
    Descriptor file(fd);
    if (file.get() < 0) FailWith(EEXIST);
    const auto discard = [&](int error) {
        if (!temp.isEmpty()) ::unlink(temp.constData());
        FailWith(error);
    };
    if (!WriteAll(file.get(), AsBytes(bytes))) discard(errno);
    if (unnamed) {
        // The complete file gets a name through /proc; without /proc it is written again under one.
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(file.get());
        for (int attempt = 0; temp.isEmpty() && attempt < 64; ++attempt) {
            const QByteArray name = FreshName(path);
            if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) == 0)
                temp = name;
            else if (errno == ENOENT)
                return ReplaceWhole(path, bytes, false);
            else if (errno != EEXIST)
                FailWith(errno);
        }
        if (temp.isEmpty()) FailWith(EEXIST);
    }
    if (!file.Close()) discard(errno);
    if (::rename(temp.constData(), path.constData()) != 0) discard(errno);
}
} // namespace

void WriteThumbnailFile(const QString &path, const QByteArray &bytes, NewFileWay way) {
    const QByteArray name = QFile::encodeName(path);
    struct stat seen {};
    if (::lstat(name.constData(), &seen) == 0) {
        if (S_ISDIR(seen.st_mode)) FailWith(EISDIR);
        if (!S_ISREG(seen.st_mode) && !S_ISLNK(seen.st_mode))
            throw ErrorReport(ErrorReport::FileAccess,
                              QStringLiteral("не удаётся записать миниатюру: это не обычный файл"));
        if (S_ISREG(seen.st_mode) && seen.st_size == 0 && seen.st_nlink == 1 &&
            FillPlaceholder(name, bytes, seen))
            return;
    } else if (errno != ENOENT) {
        FailWith(errno);
    }
    ReplaceWhole(name, bytes, way == NewFileWay::Unnamed);
}
