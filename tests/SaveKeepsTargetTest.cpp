// Saving over files that belong to something else, as a person without root's rights meets them
// (the probe saves as nobody): the target keeps its inode, links, owner, group and mode, and a save
// that fails leaves the old content and no stray file; folders, pipes and devices are refused.
#include "MainWindowHarness.h"
#include "OtherUser.h"

#include <gtest/gtest.h>
#include <iostream>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {
struct Row {
    const char *what;
    bool folderIsProbes; // else root's, mode 0755: the probe may not write in it
    bool fileIsProbes;   // else root's, mode 0666: the probe may write it
    bool groupIsProbes;  // else root's group, which the probe is not in
    mode_t fileMode;
    bool secondName;  // a hard link "other.bin" beside the target
    bool throughLink; // saved through a symbolic link "link" to the target
    rlim_t sizeLimit; // RLIMIT_FSIZE while saving; 0 for none
    bool fullDisk;    // the folder is a file system of 64 KiB
    int newSize;
    const char *failure; // why the save fails, in the message's words; nullptr when it is saved
    bool sameInode;
};

struct Paths {
    QByteArray folder, target, other, link;
};

const QByteArray kOld(100, 'o');

// The folder and the target as the row has them; async-signal-safe, so that it can run in the
// probe's child process, inside a file system mounted there.
bool Prepare(const Row &row, const Paths &p, const Account &probe) {
    const uid_t fileUid = row.fileIsProbes ? probe.uid : 0;
    const gid_t fileGid = row.groupIsProbes ? probe.gid : 0;
    const int fd = ::open(p.target.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    const bool made = ::write(fd, kOld.constData(), static_cast<size_t>(kOld.size())) == kOld.size() &&
                      ::fchown(fd, fileUid, fileGid) == 0 && ::fchmod(fd, row.fileMode) == 0;
    ::close(fd);
    if (!made) return false;
    if (row.secondName && ::link(p.target.constData(), p.other.constData()) != 0) return false;
    if (row.throughLink && ::symlink("target.bin", p.link.constData()) != 0) return false;
    const uid_t folderUid = row.folderIsProbes ? probe.uid : 0;
    return ::chown(p.folder.constData(), folderUid, folderUid == 0 ? 0 : probe.gid) == 0 &&
           ::chmod(p.folder.constData(), 0755) == 0;
}

// A private mount namespace with a file system of 64 KiB over the folder; in the child only.
bool MountSmallDisk(const QByteArray &folder) {
    return ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           ::mount("tmpfs", folder.constData(), "tmpfs", 0, "size=64k") == 0;
}
} // namespace

TEST(SaveKeepsTarget, AsAUserWithoutRootsRights) {
    const Account probe = ProbeAccount();
    if (probe.uid == ::geteuid()) GTEST_SKIP() << "only root can prepare files of other owners";
    const int big = 256 * 1024;
    // what, folder is the probe's, file is the probe's, group is the probe's, mode, second name,
    // through a link, size limit, full disk, new size, failure, same inode
    const char *denied = "Отказано в доступе", *tooLarge = "Файл слишком велик",
               *full = "Нет места на устройстве";
    const Row rows[] = {
        {"a file of the user's in a folder they may not write", false, true, true, 0644, false, false, 0,
         false, 300, nullptr, true},
        {"a target with two names", true, true, true, 0644, true, false, 0, false, 300, nullptr, true},
        {"a target of another owner that the user may write", true, false, false, 0666, false, false, 0,
         false, 300, nullptr, true},
        {"a target in a group the user is not in", true, true, false, 0664, false, false, 0, false, 300,
         nullptr, true},
        {"a file of the user's with one name in their folder", true, true, true, 0640, false, false, 0, false,
         30, nullptr, false},
        {"a target saved through a symbolic link", true, true, true, 0644, false, true, 0, false, 300,
         nullptr, true},
        {"a read-only file of the user's", true, true, true, 0444, false, false, 0, false, 300, denied, true},
        {"the file-size limit, replaced whole", true, true, true, 0644, false, false, 4096, false, big,
         tooLarge, true},
        {"the file-size limit, written in place", false, true, true, 0644, false, false, 4096, false, big,
         tooLarge, true},
        {"a full disk, replaced whole", true, true, true, 0644, false, false, 0, true, big, full, true},
        {"a full disk, written in place", true, false, false, 0666, false, false, 0, true, big, full, true},
    };
    QStringList notRun;
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        QTemporaryDir base;
        ASSERT_TRUE(base.isValid());
        ::chmod(QFile::encodeName(base.path()).constData(), 0755);
        const QByteArray folder = QFile::encodeName(base.path()) + "/folder";
        const Paths p{folder, folder + "/target.bin", folder + "/other.bin", folder + "/link"};
        ASSERT_EQ(::mkdir(folder.constData(), 0700), 0);
        struct stat before {};
        if (!row.fullDisk) {
            ASSERT_TRUE(Prepare(row, p, probe));
            ASSERT_EQ(::stat(p.target.constData(), &before), 0);
        }
        const QStringList lines = RunAs(
            probe, {SAVE_PROBE, row.throughLink ? p.link : p.target, QByteArray::number(row.newSize), "n"},
            {"LANG=C.UTF-8"}, {}, [&] {
                if (row.fullDisk && !(MountSmallDisk(folder) && Prepare(row, p, probe))) return false;
                const struct rlimit limit { row.sizeLimit, row.sizeLimit };
                return row.sizeLimit == 0 || ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
            });
        if (row.fullDisk && lines.contains(QStringLiteral("exit 124"))) {
            notRun << QString::fromLatin1(row.what); // no mount namespace here
            continue;
        }
        ASSERT_FALSE(lines.isEmpty());
        const bool saved = row.failure == nullptr;
        EXPECT_EQ(lines[0], saved ? QStringLiteral("saved")
                                  : QStringLiteral("failed 75 ") + QString::fromUtf8(row.failure))
            << lines.join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(LineAfter(lines, QStringLiteral("content ")),
                  saved ? QStringLiteral("%1 n").arg(row.newSize) : QStringLiteral("100 o"));
        // No temporary file is left beside the target.
        EXPECT_EQ(LineAfter(lines, QStringLiteral("entries ")),
                  QString::number(1 + int{row.secondName} + int{row.throughLink}));
        if (row.fullDisk) continue; // that disk is gone with the probe's mount namespace

        struct stat after {};
        ASSERT_EQ(::stat(p.target.constData(), &after), 0);
        if (row.sameInode) {
            EXPECT_EQ(after.st_ino, before.st_ino);
        }
        EXPECT_EQ(after.st_nlink, before.st_nlink);
        EXPECT_EQ(after.st_uid, before.st_uid);
        EXPECT_EQ(after.st_gid, before.st_gid);
        EXPECT_EQ(after.st_mode & 07777, before.st_mode & 07777);
        if (row.secondName) {
            EXPECT_EQ(ReadFileBytes(QFile::decodeName(p.other)), QByteArray(row.newSize, 'n'));
        }
        struct stat link {};
        if (row.throughLink) {
            EXPECT_TRUE(::lstat(p.link.constData(), &link) == 0 && S_ISLNK(link.st_mode));
        }
    }
    if (!notRun.isEmpty())
        std::cout << "not run (no mount namespace): " << notRun.join(QStringLiteral("; ")).toStdString()
                  << std::endl;
}

TEST(SaveKeepsTarget, FoldersPipesAndDevicesAreRefused) {
    MainWindowHarness h(QString(), QStringLiteral("menus32.dll"));
    h.window->Load();
    h.window->NodeClick(h.Name(QStringLiteral("Ресурс меню"), QStringLiteral("1")));
    TempFiles out;
    const QString pipe = out.path() + QStringLiteral("/pipe"),
                  folderLink = out.path() + QStringLiteral("/folder");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    ASSERT_EQ(::symlink(QFile::encodeName(out.path()).constData(), QFile::encodeName(folderLink).constData()),
              0);
    // A pipe without a reader would block a writer that opened it: the save must not even try.
    for (const QString &target : {out.path(), pipe, folderLink, QStringLiteral("/dev/null")}) {
        SCOPED_TRACE(target.toStdString());
        h.ui.messages.clear();
        h.ui.saveAnswers.push_back(target);
        h.ui.saveFilterIndexes.push_back(2); // raw bytes
        h.window->MnuSaveResource_Click();
        ASSERT_EQ(h.ui.messages.size(), 1u);
        EXPECT_EQ(h.ui.messages[0].text,
                  target + QStringLiteral("\r\nНевозможно сохранить ресурс.\r\nПри сохранении произошла "
                                          "неизвестная ошибка!\r\nЭто не обычный файл"));
    }
    struct stat st {};
    EXPECT_TRUE(::lstat(QFile::encodeName(pipe).constData(), &st) == 0 && S_ISFIFO(st.st_mode));
    EXPECT_TRUE(::stat("/dev/null", &st) == 0 && S_ISCHR(st.st_mode));
    EXPECT_EQ(
        QDir(out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System),
        (QStringList{QStringLiteral("folder"), QStringLiteral("pipe")}));
}
