#include "system/FileWriters.h"

#include "system/AnsiCodePage.h"
#include "system/ByteView.h"
#include "system/Descriptor.h"
#include "system/ErrorReport.h"
#include "system/SystemErrorText.h"

#include <QFile>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {
// The description is the reason alone: the save's message puts it on a line of its own.
[[noreturn]] void Fail(const QString &reason) {
    throw ErrorReport(ErrorReport::FileAccess, reason);
}
[[noreturn]] void FailWith(int error) {
    Fail(SystemErrorText(error));
}
[[noreturn]] void FailNotAFile() {
    Fail(QStringLiteral("Это не обычный файл"));
}

bool ReadAll(int fd, std::span<std::byte> into) {
    for (std::size_t done = 0; done < into.size();) {
        const ssize_t n = ::pread(fd, into.data() + done, into.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// A write past the file-size limit would end the program with SIGXFSZ half way through.
void CheckSizeLimit(std::size_t size) {
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY && size > limit.rlim_cur)
        FailWith(EFBIG);
}

QByteArray FolderOf(const QByteArray &path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0) return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

// A new empty file beside `path` under an unpredictable name, or -1 with errno set.
int CreateBeside(const QByteArray &path, QByteArray &created) {
    // Short enough for any file system's name limit, whatever the target's name.
    const QByteArray name = path.mid(path.lastIndexOf('/') + 1).left(200);
    for (int attempt = 0; attempt < 64; ++attempt) {
        created = FolderOf(path) + "/." + name + '.' +
                  QByteArray::number(QRandomGenerator::system()->generate64(), 36);
        const int fd =
            ::open(created.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

void SyncFolder(const QByteArray &folder) {
    const Descriptor dir(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
}

enum class Replacement { Done, WouldChangeTarget };

// The whole file replaced by rename. `target` is the file replaced, nullptr for a new file.
Replacement ReplaceWhole(const QByteArray &path, std::span<const std::byte> bytes,
                         const struct stat *target) {
    QByteArray tempPath;
    Descriptor temp(CreateBeside(path, tempPath));
    if (temp.get() < 0) {
        // A folder the saver may not write: the existing target is written in place instead.
        if (target != nullptr && (errno == EACCES || errno == EPERM)) return Replacement::WouldChangeTarget;
        FailWith(errno);
    }
    const auto discard = [&](int error) {
        ::unlink(tempPath.constData());
        FailWith(error);
    };
    if (target != nullptr) {
        struct stat made {};
        if (::fstat(temp.get(), &made) != 0) discard(errno);
        // A group the saver cannot give would change the target's group.
        if (made.st_gid != target->st_gid &&
            ::fchown(temp.get(), static_cast<uid_t>(-1), target->st_gid) != 0) {
            ::unlink(tempPath.constData());
            return Replacement::WouldChangeTarget;
        }
        if (::fchmod(temp.get(), target->st_mode & 07777) != 0) discard(errno);
    }
    if (!WriteAll(temp.get(), bytes) || ::fsync(temp.get()) != 0 || !temp.Close()) discard(errno);
    if (::rename(tempPath.constData(), path.constData()) != 0) discard(errno);
    SyncFolder(FolderOf(path));
    return Replacement::Done;
}

// The target's own bytes overwritten, so it stays the same file. `create` makes the file a
// dangling link points at.
void OverwriteInPlace(const QByteArray &path, std::span<const std::byte> bytes, bool create) {
    const int flags = O_NOCTTY | O_NONBLOCK | O_CLOEXEC | (create ? O_CREAT : 0);
    int fd = ::open(path.constData(), O_RDWR | flags, 0666);
    // A file the saver may write but not read is written without the means to undo.
    const bool readable = fd >= 0;
    if (fd < 0 && errno == EACCES) fd = ::open(path.constData(), O_WRONLY | flags, 0666);
    Descriptor file(fd);
    if (fd < 0) FailWith(errno);
    struct stat before {};
    if (::fstat(fd, &before) != 0) FailWith(errno);
    if (!S_ISREG(before.st_mode)) FailNotAFile();

    // Room for the whole content is taken first, so a full disk is found before anything changes.
    const auto size = static_cast<off_t>(bytes.size());
    if (size > 0 && ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, size) != 0 && errno != EOPNOTSUPP &&
        errno != ENOSYS)
        FailWith(errno);
    // The bytes about to be overwritten, put back when the write fails half way.
    std::vector<std::byte> old(static_cast<std::size_t>(std::min<off_t>(before.st_size, size)));
    const bool undoable = readable && ReadAll(fd, old);
    // Written first and cut to length after, so the target is never empty on the way.
    if (WriteAll(fd, bytes) && ::ftruncate(fd, size) == 0 && ::fsync(fd) == 0 && file.Close()) return;
    const int error = errno;
    if (undoable && file.get() >= 0 && WriteAll(fd, old) && ::ftruncate(fd, before.st_size) == 0) ::fsync(fd);
    FailWith(error);
}
} // namespace

void WriteBytesFile(const QString &path, std::span<const std::byte> bytes) {
    const QByteArray name = QFile::encodeName(path);
    CheckSizeLimit(bytes.size());
    struct stat entry {};
    if (::lstat(name.constData(), &entry) != 0) {
        if (errno != ENOENT) FailWith(errno);
        ReplaceWhole(name, bytes, nullptr);
        return;
    }
    // A link is written through to its target, in place: the link stays a link.
    const bool link = S_ISLNK(entry.st_mode);
    struct stat target = entry;
    const bool dangling = link && ::stat(name.constData(), &target) != 0;
    if (dangling && errno != ENOENT) FailWith(errno);
    if (!dangling && !S_ISREG(target.st_mode)) FailNotAFile();
    // A read-only file is not a target, as the save dialog refuses one.
    if (!dangling && ::faccessat(AT_FDCWD, name.constData(), W_OK, AT_EACCESS) != 0) FailWith(errno);
    if (link) {
        OverwriteInPlace(name, bytes, dangling);
        return;
    }
    // Replacing the file whole keeps what it is only when it is the saver's and has one name.
    if (entry.st_nlink == 1 && entry.st_uid == ::geteuid() &&
        ReplaceWhole(name, bytes, &entry) == Replacement::Done)
        return;
    OverwriteInPlace(name, bytes, false);
}

void WriteTextFile(const QString &path, const QString &text) {
    const QByteArray ansi = UnicodeToAnsi(text);
    WriteBytesFile(path, AsBytes(ansi));
}
