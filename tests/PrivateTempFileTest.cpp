// The temporary file of pictures and media: a new file under an unpredictable name each time, in
// a folder only its user can enter; a folder tampered with is left alone; and, run as another
// user, runtime and temporary folders that are not private make no difference to a preview, or
// make it fail through the error question, without touching a file of someone else.
#include "Fixtures.h"
#include "OtherUser.h"
#include "resources/Playback.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::span<const std::byte> AsBytes(const QByteArray &b) {
    return std::as_bytes(std::span(b.constData(), static_cast<std::size_t>(b.size())));
}

struct stat LinkStat(const QString &path) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0) st.st_mode = 0;
    return st;
}

QString FolderOf(const QString &path) {
    return QFileInfo(path).path();
}

void ExpectPrivateFolder(const QString &folder) {
    const struct stat st = LinkStat(folder);
    EXPECT_TRUE(S_ISDIR(st.st_mode)) << folder.toStdString(); // a folder, not a link to one
    EXPECT_EQ(st.st_mode & 07777, 0700u);
    EXPECT_EQ(st.st_uid, ::geteuid());
}

QStringList Entries(const QString &folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}
} // namespace

TEST(PrivateTempFile, EveryFileIsNewPrivateAndHoldsExactlyItsBytes) {
    StopPlayback();
    const QByteArray first("the first resource's bytes"), second("second");
    WriteTempFile(AsBytes(first));
    const QString a = TempFilePath();
    EXPECT_EQ(ReadFileBytes(a), first);
    WriteTempFile(AsBytes(second));
    const QString b = TempFilePath();
    EXPECT_NE(QFileInfo(a).fileName(), QFileInfo(b).fileName());
    EXPECT_EQ(FolderOf(a), FolderOf(b));
    EXPECT_FALSE(QFileInfo::exists(a)); // one file at a time
    EXPECT_EQ(ReadFileBytes(b), second);

    const struct stat file = LinkStat(b);
    EXPECT_TRUE(S_ISREG(file.st_mode));
    EXPECT_EQ(file.st_mode & 07777, 0600u);
    EXPECT_EQ(file.st_uid, ::geteuid());
    ExpectPrivateFolder(FolderOf(b));
    EXPECT_TRUE(QFileInfo(FolderOf(b)).fileName().startsWith(QStringLiteral("zorvika-")));

    StopPlayback();
    EXPECT_FALSE(QFileInfo::exists(b));
}

TEST(PrivateTempFile, AFolderTamperedWithIsLeftAloneAndANewOneMade) {
    TempFiles elsewhere;
    struct Tampering {
        const char *what;
        std::function<void(const QString &)> apply;
        std::function<void(const QString &)> undo;
    };
    const QByteArray moved = "-moved";
    const std::vector<Tampering> tamperings = {
        {"opened to the group and others",
         [](const QString &folder) { ::chmod(QFile::encodeName(folder).constData(), 0755); },
         [](const QString &folder) { QDir(folder).removeRecursively(); }},
        {"replaced by a link to a folder of the user's",
         [&](const QString &folder) {
             const QByteArray path = QFile::encodeName(folder);
             ::rename(path.constData(), (path + moved).constData());
             ::symlink(QFile::encodeName(elsewhere.path()).constData(), path.constData());
         },
         [&](const QString &folder) {
             const QByteArray path = QFile::encodeName(folder);
             ::unlink(path.constData());
             QDir(QFile::decodeName(path + moved)).removeRecursively();
         }},
        {"removed", [](const QString &folder) { QDir(folder).removeRecursively(); }, [](const QString &) {}},
    };
    for (const Tampering &t : tamperings) {
        SCOPED_TRACE(t.what);
        WriteTempFile(AsBytes(QByteArray("before")));
        const QString folder = FolderOf(TempFilePath());
        StopPlayback();
        t.apply(folder);
        WriteTempFile(AsBytes(QByteArray("after")));
        const QString now = TempFilePath();
        EXPECT_NE(FolderOf(now), folder);
        ExpectPrivateFolder(FolderOf(now));
        EXPECT_EQ(ReadFileBytes(now), QByteArray("after"));
        EXPECT_EQ(Entries(elsewhere.path()), QStringList());
        if (QFileInfo(folder).isDir() && !QFileInfo(folder).isSymLink()) {
            EXPECT_EQ(Entries(folder), QStringList());
        }
        StopPlayback();
        t.undo(folder);
    }
}

TEST(PrivateTempFile, FoldersThatAreNotPrivateNeitherStopPreviewsNorTouchOthersFiles) {
    const Account probe = ProbeAccount();
    const bool otherUser = probe.uid != ::geteuid();
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    ::chmod(QFile::encodeName(root.path()).constData(), 0755);
    const QString dll = root.path() + QStringLiteral("/pictures32.dll");
    ASSERT_TRUE(QFile::copy(FixturePath(QStringLiteral("pictures32.dll")), dll));
    ::chmod(QFile::encodeName(dll).constData(), 0644);

    // Folders as another user (or an attacker) could have left them: name, owned by the probe's
    // user or by the tests' own, mode.
    struct Folder {
        const char *name;
        bool probeOwns;
        mode_t mode;
    };
    const Folder folders[] = {
        {"home", true, 0700},           {"run-other", false, 0700},   {"run-open", true, 0777},
        {"run-otheropen", false, 0777}, {"run-good", true, 0700},     {"tmp-other", false, 0755},
        {"tmp-shared", false, 0777},    {"tmp-sticky", false, 01777},
    };
    for (const Folder &f : folders) {
        const QByteArray path = QFile::encodeName(root.path() + QLatin1Char('/') + QLatin1String(f.name));
        ASSERT_EQ(::mkdir(path.constData(), 0700), 0);
        ASSERT_EQ(::chmod(path.constData(), f.mode), 0);
        if (f.probeOwns) {
            ASSERT_EQ(::chown(path.constData(), probe.uid, probe.gid), 0);
        }
    }

    struct Case {
        const char *what;
        const char *runtime; // XDG_RUNTIME_DIR, a folder above; unset when empty
        const char *temp;    // TMPDIR likewise
        const char *madeIn;  // where the private folder goes; "/tmp"; empty when nowhere
        bool needsOtherUser;
    };
    const Case cases[] = {
        {"a runtime folder of another user", "run-other", "", "/tmp", true},
        {"a runtime folder open to everyone", "run-open", "", "/tmp", false},
        {"a runtime folder of another user open to everyone", "run-otheropen", "", "/tmp", true},
        {"the user's own private runtime folder", "run-good", "", "run-good", false},
        {"a shared temporary folder with the sticky bit", "run-open", "tmp-sticky", "tmp-sticky", false},
        {"no folder the user may write in", "run-other", "tmp-other", "", true},
        {"a temporary folder where others may rename", "", "tmp-shared", "", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        if (c.needsOtherUser && !otherUser) continue; // only root can play another user
        const auto under = [&](const char *name) {
            return root.path() + QLatin1Char('/') + QLatin1String(name);
        };
        QByteArrayList environment = {"QT_QPA_PLATFORM=offscreen", "HOME=" + QFile::encodeName(under("home")),
                                      "LANG=C.UTF-8"};
        if (*c.runtime) environment << "XDG_RUNTIME_DIR=" + QFile::encodeName(under(c.runtime));
        if (*c.temp) environment << "TMPDIR=" + QFile::encodeName(under(c.temp));

        // The name the program used to fall back to, planted by someone else before it starts.
        QString planted;
        const QByteArray plantedBytes = "planted by another user";
        const QStringList lines =
            RunAs(probe, {TEMP_PROBE, QFile::encodeName(dll)}, environment, [&](pid_t pid) {
                planted = QStringLiteral("/tmp/zorvika-%1.tmp").arg(pid);
                QFile file(planted);
                if (file.open(QIODevice::WriteOnly)) file.write(plantedBytes);
                file.close();
                ::chmod(QFile::encodeName(planted).constData(), 0644);
            });
        const struct stat plantedAfter = LinkStat(planted);
        EXPECT_EQ(ReadFileBytes(planted), plantedBytes);
        EXPECT_EQ(plantedAfter.st_uid, ::geteuid());
        EXPECT_EQ(plantedAfter.st_mode & 07777, 0644u);
        QFile::remove(planted);

        const QString temp = LineAfter(lines, QStringLiteral("temp "));
        const QString asked = LineAfter(lines, QStringLiteral("asked "));
        if (*c.madeIn) {
            EXPECT_TRUE(lines.contains(
                QStringLiteral("shown Тип: Точечный рисунок или рисунок в аналогичном формате")))
                << lines.join(QLatin1Char('\n')).toStdString();
            EXPECT_EQ(asked, QString());
            const QString base = c.madeIn[0] == '/' ? QString::fromLatin1(c.madeIn) : under(c.madeIn);
            EXPECT_EQ(QFileInfo(FolderOf(temp)).path(), base);
            EXPECT_FALSE(QFileInfo::exists(FolderOf(temp))); // removed when the probe ended
        } else {
            // The failure path of a picture file: the error question, code 75.
            EXPECT_TRUE(asked.startsWith(QStringLiteral("В программе произошла неизвестная ошибка!")))
                << lines.join(QLatin1Char('\n')).toStdString();
            EXPECT_TRUE(asked.contains(QStringLiteral("Код: 75"))) << asked.toStdString();
            EXPECT_TRUE(asked.endsWith(QStringLiteral("Игнорировать?")));
            EXPECT_EQ(temp, QString());
        }
        // Nothing of the program is left anywhere. (Qt makes "runtime-<user>" in the temporary
        // folder itself when the runtime folder is unusable; that is not the program's file.)
        for (const Folder &f : folders) {
            if (qstrcmp(f.name, "home") == 0) continue;
            const QStringList left =
                Entries(under(f.name)).filter(QRegularExpression(QStringLiteral("^(?!runtime-)")));
            EXPECT_EQ(left, QStringList()) << f.name;
        }
    }
}
