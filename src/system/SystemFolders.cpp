#include "system/SystemFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

#include <dirent.h>

namespace {
QStringList SystemDirCandidates() {
    QStringList dirs;
    const QString prefix = qEnvironmentVariable("WINEPREFIX");
    if (!prefix.isEmpty()) dirs << prefix + QStringLiteral("/drive_c/windows/system32");
    dirs << QDir::homePath() + QStringLiteral("/.wine/drive_c/windows/system32");
    dirs << QStringLiteral("/usr/lib/x86_64-linux-gnu/wine/x86_64-windows")
         << QStringLiteral("/usr/lib/x86_64-linux-gnu/wine/i386-windows")
         << QStringLiteral("/usr/lib/i386-linux-gnu/wine/i386-windows");
    return dirs;
}

bool HoldsFileNoCase(const QString &dir, const QString &name) {
    const QFileInfo info(ResolvePathNoCase(dir + QLatin1Char('/') + name));
    return info.isFile();
}
} // namespace

QString ResolvePathNoCase(const QString &path) {
    const QFileInfo info(path);
    if (info.exists()) return path;
    const QDir dir = info.dir();
    const QString wanted = info.fileName();
    if (wanted.isEmpty() || !dir.exists()) return path;
    // One pass over the names alone: a system folder holds hundreds of files, and this runs on
    // the way to the first window. Names that differ only in case are rare; among them the
    // folder's sorted listing decides, as it always has.
    QStringList matches;
    if (DIR *folder = ::opendir(QFile::encodeName(dir.path()).constData())) {
        while (const dirent *entry = ::readdir(folder)) {
            const QString name = QFile::decodeName(entry->d_name);
            if (name.compare(wanted, Qt::CaseInsensitive) == 0) matches << name;
        }
        ::closedir(folder);
    }
    if (matches.size() == 1) return dir.filePath(matches.front());
    if (matches.isEmpty()) return path;
    for (const QString &entry : dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System))
        if (entry.compare(wanted, Qt::CaseInsensitive) == 0) return dir.filePath(entry);
    return path;
}

QString GetSystemDir() {
    for (const QString &dir : SystemDirCandidates())
        if (HoldsFileNoCase(dir, QStringLiteral("Shell32.dll"))) return dir;
    return {};
}

QString GetWindowsDir() {
    const QString system = GetSystemDir();
    const QString suffix = QStringLiteral("/drive_c/windows/system32");
    if (system.endsWith(suffix))
        return system.chopped(suffix.size() - QStringLiteral("/drive_c/windows").size());
    return QDir::homePath();
}

QString GetSpecialFolderPath(int folder) {
    if (folder != CSIDL_DESKTOPDIRECTORY) return {};
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    return QFileInfo(desktop).isDir() ? desktop : QString();
}
