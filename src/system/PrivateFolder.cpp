#include "system/PrivateFolder.h"

#include <QFile>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {
// Name clashes among random names are a sign of someone guessing; give up after this many.
constexpr int kAttempts = 64;

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

// Twelve characters from the kernel's random source; empty if it fails.
QByteArray RandomName() {
    static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    unsigned char raw[12];
    std::size_t got = 0;
    while (got < sizeof raw) {
        const ssize_t n = ::getrandom(raw + got, sizeof raw - got, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return {};
        got += static_cast<std::size_t>(n);
    }
    QByteArray name;
    for (const unsigned char b : raw)
        name += kAlphabet[b % (sizeof kAlphabet - 1)];
    return name;
}

int OpenFolder(int at, const QByteArray &path, bool followLink) {
    return ::openat(at, path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW));
}

bool Stat(int fd, struct stat &st) {
    return ::fstat(fd, &st) == 0;
}

// Only its user may enter it.
bool IsPrivate(const struct stat &st) {
    return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & 07777) == S_IRWXU;
}

// No other user can rename or replace what the user makes in it: owned by the user or by root,
// and writable by others only with the sticky bit, as /tmp is.
bool IsSafeParent(const struct stat &st) {
    const bool owner = st.st_uid == ::geteuid() || st.st_uid == 0;
    const bool othersWrite = (st.st_mode & (S_IWGRP | S_IWOTH)) != 0;
    return S_ISDIR(st.st_mode) && owner && (!othersWrite || (st.st_mode & S_ISVTX) != 0);
}

// The folder of this process. Only the process that made it removes it, at exit, with what is
// left in it (a picture file the loader refused stays until the next stop, which may never come).
struct Folder {
    QByteArray path;
    pid_t maker = 0;

    ~Folder() {
        if (path.isEmpty() || maker != ::getpid()) return;
        Descriptor fd(OpenFolder(AT_FDCWD, path, false));
        struct stat st {};
        if (fd.get() < 0 || !Stat(fd.get(), st) || !IsPrivate(st)) return;
        if (DIR *dir = ::fdopendir(::dup(fd.get()))) {
            while (const dirent *entry = ::readdir(dir))
                if (entry->d_type != DT_DIR) ::unlinkat(fd.get(), entry->d_name, 0);
            ::closedir(dir);
        }
        ::rmdir(path.constData());
    }
};

Folder &ThisProcessFolder() {
    static Folder folder;
    return folder;
}

// Makes a new private folder in `base`; its descriptor (and path), or -1.
int MakeFolderIn(QByteArray base, bool baseMustBePrivate, QByteArray &path) {
    // A relative base would depend on the working folder.
    if (!base.startsWith('/')) return -1;
    while (base.size() > 1 && base.endsWith('/'))
        base.chop(1);
    // The base itself may be a link the user made; what counts is the folder it leads to.
    Descriptor parent(OpenFolder(AT_FDCWD, base, true));
    struct stat st {};
    if (parent.get() < 0 || !Stat(parent.get(), st)) return -1;
    if (!(baseMustBePrivate ? IsPrivate(st) : IsSafeParent(st))) return -1;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const QByteArray random = RandomName();
        if (random.isEmpty()) return -1;
        const QByteArray name = "zorvika-" + random;
        if (::mkdirat(parent.get(), name.constData(), S_IRWXU) != 0) {
            if (errno == EEXIST) continue;
            return -1;
        }
        Descriptor folder(OpenFolder(parent.get(), name, false));
        // The umask may have taken bits away; the new folder is ours, so it gets exactly 0700.
        const bool ours = folder.get() >= 0 && Stat(folder.get(), st) && S_ISDIR(st.st_mode) &&
                          st.st_uid == ::geteuid() && ::fchmod(folder.get(), S_IRWXU) == 0 &&
                          Stat(folder.get(), st) && IsPrivate(st);
        if (!ours) {
            ::unlinkat(parent.get(), name.constData(), AT_REMOVEDIR);
            return -1;
        }
        path = (base == "/" ? QByteArray() : base) + '/' + name;
        return folder.release();
    }
    return -1;
}

// The folder of this process, opened and checked; made when there is none (or the one there was
// is gone or no longer private). -1 when no private place can be had.
int OpenPrivateFolder(QByteArray &path) {
    Folder &folder = ThisProcessFolder();
    if (!folder.path.isEmpty()) {
        Descriptor fd(OpenFolder(AT_FDCWD, folder.path, false));
        struct stat st {};
        if (fd.get() >= 0 && Stat(fd.get(), st) && IsPrivate(st)) {
            path = folder.path;
            return fd.release();
        }
        folder.path.clear();
    }
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    const QByteArray temp = qgetenv("TMPDIR");
    const std::pair<QByteArray, bool> bases[] = {{runtime, true},
                                                 {temp.isEmpty() ? QByteArray("/tmp") : temp, false}};
    for (const auto &[base, mustBePrivate] : bases) {
        if (base.isEmpty()) continue;
        const int fd = MakeFolderIn(base, mustBePrivate, path);
        if (fd < 0) continue;
        folder.path = path;
        folder.maker = ::getpid();
        return fd;
    }
    return -1;
}
} // namespace

PrivateFile CreatePrivateFile() {
    QByteArray folderPath;
    const Descriptor folder(OpenPrivateFolder(folderPath));
    if (folder.get() < 0) return {};
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const QByteArray random = RandomName();
        if (random.isEmpty()) return {};
        const QByteArray name = random + ".tmp";
        const int fd = ::openat(folder.get(), name.constData(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, S_IRUSR | S_IWUSR);
        if (fd >= 0) return {fd, QFile::decodeName(folderPath + '/' + name)};
        if (errno != EEXIST) return {};
    }
    return {};
}
