#include "cli/OutputFolder.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {
// The temporary name that exists while a file is being written under it, so that an interrupting
// signal can remove it before the program ends.
volatile std::sig_atomic_t gTempFolder = -1;
char gTempName[64];

void RemoveTempAndDie(int signal) {
    if (gTempFolder >= 0) unlinkat(gTempFolder, gTempName, 0);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void InstallSignalCleanup() {
    static const bool installed = [] {
        for (int s : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
            struct sigaction action {};
            sigaction(s, nullptr, &action);
            if (action.sa_handler == SIG_IGN) continue; // left ignored as it was
            action.sa_handler = RemoveTempAndDie;
            sigemptyset(&action.sa_mask);
            action.sa_flags = 0;
            sigaction(s, &action, nullptr);
        }
        return true;
    }();
    (void)installed;
}

QString Reason() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

QByteArray TempName() {
    return ".zorvika-cli-" + QByteArray::number(QRandomGenerator::system()->generate64(), 36) + ".tmp";
}

bool WriteAll(int fd, const QByteArray &bytes) {
    const char *at = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, at, static_cast<std::size_t>(left));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        at += n;
        left -= n;
    }
    return true;
}

// Records the temporary name for the signal handler, or forgets it.
void Track(int folder, const QByteArray &name) {
    gTempFolder = -1;
    if (name.isEmpty()) return;
    const std::size_t size = std::min(static_cast<std::size_t>(name.size()), sizeof gTempName - 1);
    std::memcpy(gTempName, name.constData(), size);
    gTempName[size] = '\0';
    gTempFolder = folder;
}
} // namespace

std::unique_ptr<OutputFolder> OutputFolder::Open(const QString &path, QString &reason) {
    if (!QDir().mkpath(path)) {
        reason = QStringLiteral("не удаётся создать папку %1").arg(path);
        return nullptr;
    }
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        reason = QStringLiteral("не удаётся открыть папку %1: %2").arg(path, Reason());
        return nullptr;
    }
    InstallSignalCleanup();
    return std::unique_ptr<OutputFolder>(new OutputFolder(fd, path));
}

OutputFolder::~OutputFolder() {
    ::close(fd_);
}

bool OutputFolder::Write(const QString &name, const QByteArray &bytes, QString &reason) {
    const QByteArray target = QFile::encodeName(name);
    if (target.isEmpty() || target == "." || target == ".." || target.contains('/') ||
        target.contains('\0')) {
        reason = QStringLiteral("недопустимое имя файла");
        return false;
    }
    // Preferably an unnamed file, which nothing can leave behind; it gets a name only when whole.
    QByteArray temp;
    int fd = ::openat(fd_, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    const bool unnamed = fd >= 0;
    for (int attempt = 0; !unnamed && attempt < 16; ++attempt) {
        temp = TempName();
        Track(fd_, temp);
        fd = ::openat(fd_, temp.constData(), O_CREAT | O_EXCL | O_WRONLY | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) break;
    }
    auto fail = [&] {
        reason = Reason();
        if (fd >= 0) ::close(fd);
        if (!temp.isEmpty()) ::unlinkat(fd_, temp.constData(), 0);
        Track(fd_, {});
        return false;
    };
    if (fd < 0 || !WriteAll(fd, bytes)) return fail();
    if (unnamed) {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
        for (int attempt = 0; attempt < 16; ++attempt) {
            temp = TempName();
            Track(fd_, temp);
            if (::linkat(AT_FDCWD, self.constData(), fd_, temp.constData(), AT_SYMLINK_FOLLOW) == 0) break;
            temp.clear();
            if (errno != EEXIST) break;
        }
        if (temp.isEmpty()) return fail();
    }
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0 || ::renameat(fd_, temp.constData(), fd_, target.constData()) != 0) return fail();
    Track(fd_, {});
    return true;
}
