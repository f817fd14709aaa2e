#include "system/ReadOnlyFile.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace {
bool SameContentStamp(const struct stat &now, std::uint64_t size, const timespec &modified) {
    return static_cast<std::uint64_t>(now.st_size) == size && now.st_mtim.tv_sec == modified.tv_sec &&
           now.st_mtim.tv_nsec == modified.tv_nsec;
}
} // namespace

std::unique_ptr<ReadOnlyFile> ReadOnlyFile::Open(const QString &path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return nullptr;
    std::unique_ptr<ReadOnlyFile> file(new ReadOnlyFile);
    file->fd_ = fd;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0) return nullptr;
    file->path_ = path;
    file->size_ = static_cast<std::uint64_t>(info.st_size);
    file->device_ = info.st_dev;
    file->inode_ = info.st_ino;
    file->modified_ = info.st_mtim;
    return file;
}

ReadOnlyFile::~ReadOnlyFile() {
    if (fd_ >= 0) ::close(fd_);
}

std::size_t ReadOnlyFile::ReadAt(std::uint64_t offset, std::span<std::byte> into) const {
    std::size_t done = 0;
    while (done < into.size()) {
        if (offset + done > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) break;
        const ssize_t n =
            ::pread(fd_, into.data() + done, into.size() - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

bool ReadOnlyFile::Unchanged() const {
    if (changed_) return false;
    struct stat now {};
    changed_ = ::fstat(fd_, &now) != 0 || !SameContentStamp(now, size_, modified_);
    return !changed_;
}

ReadOnlyFile::State ReadOnlyFile::StateOnDisk() const {
    if (!Unchanged()) return State::Modified;
    struct stat named {};
    if (::stat(QFile::encodeName(path_).constData(), &named) != 0) {
        // The path no longer reaches the file: the open descriptor tells whether the file itself
        // still has a name somewhere (moved or renamed) or none (deleted).
        struct stat opened {};
        return ::fstat(fd_, &opened) == 0 && opened.st_nlink > 0 ? State::Moved : State::Removed;
    }
    if (named.st_dev != device_ || named.st_ino != inode_) return State::Replaced;
    return State::Unchanged;
}
