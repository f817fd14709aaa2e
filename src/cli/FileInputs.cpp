#include "cli/FileInputs.h"

#include "cli/CheckedWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

struct FileInputs::Folder {
    QByteArray path; // as the system names it
    // The entries to read, by the key that sorts them: the name, with "/" after a folder's.
    std::vector<QByteArray> keys;
    std::size_t next = 0;
    QStringList outputFolders; // extract: where this folder's files go
    SafeFileNames names;       // extract: the folder names given in it
};

namespace {
// The entries of the folder open at `fd` (which this closes) that the walk reads: its regular files
// and its folders, never a link; false and errno when the folder cannot be read.
bool ReadEntries(int fd, std::vector<QByteArray> &keys) {
    DIR *dir = fd >= 0 ? ::fdopendir(fd) : nullptr;
    if (dir == nullptr) {
        const int error = errno;
        if (fd >= 0) ::close(fd);
        errno = error;
        return false;
    }
    errno = 0;
    while (const dirent *e = ::readdir(dir)) {
        const QByteArray name(e->d_name);
        if (name == "." || name == "..") continue;
        unsigned char type = e->d_type;
        if (type == DT_UNKNOWN) {
            struct stat st {};
            if (::fstatat(::dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
            type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : DT_UNKNOWN;
        }
        if (type == DT_DIR)
            keys.push_back(name + '/');
        else if (type == DT_REG)
            keys.push_back(name);
    }
    const int error = errno;
    ::closedir(dir);
    if (error != 0) {
        errno = error;
        return false;
    }
    std::sort(keys.begin(), keys.end()); // QByteArray orders by unsigned bytes
    return true;
}

QString FolderFailure(int error) {
    return QStringLiteral("папка не читается: %1").arg(SystemReason(error));
}

// The name a file or folder given as a path goes by: its last part, or for "." and the like, the
// last part of what it names.
QString GivenName(const QString &path) {
    const QString name = QFileInfo(QDir::cleanPath(path)).fileName();
    if (!name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")) return name;
    return QFileInfo(QFileInfo(path).canonicalFilePath()).fileName();
}
} // namespace

FileInputs::FileInputs(const CliRequest &request) : request_(request) {}

FileInputs::~FileInputs() {
    if (list_ != nullptr && list_ != stdin) std::fclose(list_);
    std::free(line_);
}

std::optional<CliFile> FileInputs::Next() {
    for (;;) {
        if (auto found = NextInFolders()) return found;
        if (nextArgument_ < request_.files.size()) {
            if (auto file = Start(request_.files[nextArgument_++], true)) return file;
            continue;
        }
        if (!request_.fileList || listDone_) return std::nullopt;
        QString listed;
        if (const int error = ReadListed(listed); error != 0 || listed.isEmpty()) {
            listDone_ = true;
            if (error == 0) return std::nullopt;
            // Said once, as a file that cannot be read.
            return CliFile{*request_.fileList, true,
                           QStringLiteral("список файлов не читается: %1").arg(SystemReason(error)), {}};
        }
        if (auto file = Start(listed, false)) return file;
    }
}

int FileInputs::ReadListed(QString &path) {
    if (list_ == nullptr) {
        list_ = *request_.fileList == QLatin1String("-")
                    ? stdin
                    : std::fopen(QFile::encodeName(*request_.fileList).constData(), "re");
        if (list_ == nullptr) return errno;
    }
    const int end = request_.nulSeparated ? '\0' : '\n';
    for (;;) {
        errno = 0;
        const ssize_t n = ::getdelim(&line_, &capacity_, end, list_);
        if (n < 0) return std::ferror(list_) ? (errno != 0 ? errno : EIO) : 0;
        QByteArray entry(line_, n);
        if (entry.endsWith(static_cast<char>(end))) entry.chop(1);
        if (entry.isEmpty()) continue;
        path = QFile::decodeName(entry);
        return 0;
    }
}

std::optional<CliFile> FileInputs::Start(const QString &path, bool named) {
    const bool extractMany = request_.command == CliCommand::Extract && request_.ManyFiles();
    QStringList output;
    if (extractMany) output << topNames_.AssignFolder(GivenName(path));
    struct stat st {};
    const QByteArray encoded = QFile::encodeName(path);
    if (::stat(encoded.constData(), &st) != 0 || !S_ISDIR(st.st_mode)) return CliFile{path, named, {}, output};
    if (!request_.recursive)
        return CliFile{path, named, QStringLiteral("это папка; файлы в папках читает ключ -r"), output};
    auto folder = std::make_unique<Folder>();
    if (!ReadEntries(::open(encoded.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC), folder->keys))
        return CliFile{path, named, FolderFailure(errno), output};
    folder->path = encoded;
    folder->outputFolders = output;
    folders_.push_back(std::move(folder));
    return std::nullopt;
}

std::optional<CliFile> FileInputs::NextInFolders() {
    const bool extractMany = request_.command == CliCommand::Extract && request_.ManyFiles();
    while (!folders_.empty()) {
        Folder &folder = *folders_.back();
        if (folder.next == folder.keys.size()) {
            folders_.pop_back();
            continue;
        }
        QByteArray name = std::move(folder.keys[folder.next++]);
        const bool isFolder = name.endsWith('/');
        if (isFolder) name.chop(1);
        const QByteArray path = folder.path.endsWith('/') ? folder.path + name : folder.path + '/' + name;
        const QString decoded = QFile::decodeName(path);
        QStringList output;
        if (extractMany) {
            output = folder.outputFolders;
            output << folder.names.AssignFolder(QFile::decodeName(name));
        }
        if (!isFolder) return CliFile{decoded, false, {}, output};
        auto inner = std::make_unique<Folder>();
        // A folder replaced by a link since it was listed is not followed either.
        if (!ReadEntries(::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC), inner->keys))
            return CliFile{decoded, false, FolderFailure(errno), output};
        inner->path = path;
        inner->outputFolders = output;
        folders_.push_back(std::move(inner));
    }
    return std::nullopt;
}
