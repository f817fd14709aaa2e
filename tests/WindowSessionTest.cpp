// Each window is a session of its own: two windows in one process show, size, play and save each
// its own file's resources; and nothing a window shows goes through a file in the temporary or
// runtime folders.
#include "FakeUi.h"
#include "MediaTestSupport.h"
#include "OpenedModule.h"
#include "TreeNodes.h"
#include "decoders/ResourceAccess.h"
#include "views/display/DisplayBox.h"
#include "views/media/MediaPlayer.h"
#include "views/media/VideoWindow.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <unistd.h>

namespace {
// A window on one fixture, clicked as the tree names its nodes.
struct Window {
    explicit Window(const char *fixture) : path(FixturePath(QString::fromUtf8(fixture))) {
        window.EndProgram = [] {};
        window.Load();
        window.show();
        ui.openAnswers.push_back(path);
        window.MnuOpenFile_Click();
    }
    void Click(const QString &typeKeyOrText, const QString &name) {
        const QModelIndex node = FindNameNode(
            window,
            [&](const QModelIndex &type) {
                return Key(type) == typeKeyOrText || Text(type) == typeKeyOrText;
            },
            name);
        ASSERT_TRUE(node.isValid()) << typeKeyOrText.toStdString() << "/" << name.toStdString();
        window.NodeClick(node);
    }
    QByteArray Save(const QString &file) {
        ui.saveAnswers.push_back(file);
        window.MnuSaveResource_Click();
        return ReadFileBytes(file);
    }
    // The header's size, and the bytes, of the resource in this window's own file.
    QString SizeLine(const QString &type, const QString &name) const {
        return QStringLiteral("Размер ресурса: %1 байт")
            .arg(GetResourceSize(module, module.Entry(type, name)));
    }
    QByteArray Bytes(const QString &type, const QString &name) const {
        const auto bytes = module->Bytes(module.Entry(type, name));
        return bytes ? QByteArray(reinterpret_cast<const char *>(bytes->data()),
                                  static_cast<qsizetype>(bytes->size()))
                     : QByteArray();
    }
    VideoWindow *Video() const { return window.PDisplay->findChild<VideoWindow *>(); }

    const QString path;
    const OpenedModule module{path};
    FakeUi ui;
    FrmMain window{ui, QStringLiteral("/EMPTYLOAD")};
};
// An environment variable set for the life of the object.
class Environment {
public:
    Environment(const char *name, const QString &value) : name_(name), old_(qgetenv(name)) {
        qputenv(name, QFile::encodeName(value));
    }
    ~Environment() {
        if (old_.isNull())
            qunsetenv(name_);
        else
            qputenv(name_, old_);
    }

private:
    const char *name_;
    QByteArray old_;
};
} // namespace

TEST(WindowSessions, TwoWindowsEachShowSizeAndSaveTheirOwnFile) {
    auto media = std::make_unique<Window>("media32.dll");
    Window pictures("pictures32.dll");
    TempFiles out;

    // A clip loops in the first window while the second shows a picture of its own file.
    media->Click(QStringLiteral("AVI"), QStringLiteral("CLIPRLE"));
    ASSERT_NE(media->Video(), nullptr);
    pictures.Click(QStringLiteral("#14"), QStringLiteral("1"));
    EXPECT_TRUE(pictures.window.LInformation->text().endsWith(
        pictures.SizeLine(QStringLiteral("14"), QStringLiteral("#1"))));
    EXPECT_TRUE(pictures.window.PDisplay->hasDrawings());
    ASSERT_NE(media->Video(), nullptr);
    ASSERT_TRUE(WaitUntil([&] { return !media->Video()->frame().isNull(); }, 10000));
    EXPECT_TRUE(media->window.LInformation->text().endsWith(
        media->SizeLine(QStringLiteral("AVI"), QStringLiteral("CLIPRLE"))));

    // Each saves its own resource.
    EXPECT_EQ(media->Save(out.path() + QStringLiteral("/clip.avi")),
              media->Bytes(QStringLiteral("AVI"), QStringLiteral("CLIPRLE")));
    pictures.Click(QStringLiteral("GIF"), QStringLiteral("ANIM"));
    EXPECT_EQ(pictures.Save(out.path() + QStringLiteral("/anim.gif")),
              ReadFileBytes(FixturePath(QStringLiteral("pic_anim.gif"))));

    // A sound in the first window replaces its clip and leaves the second window as it was.
    const QString pictureHeader = pictures.window.LInformation->text();
    media->Click(QStringLiteral("WAVE"), QStringLiteral("TONE"));
    EXPECT_EQ(media->Video(), nullptr);
    ASSERT_NE(media->window.Session.media.Medium(), nullptr);
    EXPECT_TRUE(*media->window.Session.media.Medium() ==
                ReadFileBytes(FixturePath(QStringLiteral("media_tone.wav"))));
    EXPECT_EQ(pictures.window.LInformation->text(), pictureHeader);
    EXPECT_TRUE(pictures.window.PDisplay->hasDrawings());

    // The first window goes; the second goes on with its own file.
    media.reset();
    pictures.Click(QStringLiteral("#2"), QStringLiteral("109"));
    EXPECT_TRUE(pictures.window.LInformation->text().endsWith(
        pictures.SizeLine(QStringLiteral("2"), QStringLiteral("#109"))));
    EXPECT_EQ(pictures.window.Session.media.Medium(), nullptr);
    EXPECT_TRUE(pictures.ui.messages.empty());
}

TEST(WindowSessions, NothingShownGoesThroughAFileInTheTemporaryOrRuntimeFolders) {
    // Folders of this test's own, so that what other programs write elsewhere does not count.
    QTemporaryDir temporary, runtime;
    const Environment ownTemporary("TMPDIR", temporary.path()), ownRuntime("XDG_RUNTIME_DIR", runtime.path());
    // A desktop session's runtime folder holds the sound server's folder, which its client library
    // makes when it finds none.
    ASSERT_TRUE(QDir(runtime.path()).mkdir(QStringLiteral("pulse")));
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    for (const QTemporaryDir *folder : {&temporary, &runtime})
        ASSERT_GE(
            inotify_add_watch(watch, QFile::encodeName(folder->path()).constData(), IN_CREATE | IN_MOVED_TO),
            0);

    int shown = 0;
    for (const char *fixture :
         {"media32.dll", "pictures32.dll", "dialogs32.dll", "menus32.dll", "strtab32.dll", "accel32.dll",
          "msgtab32.dll", "verinfo32.dll", "tree32.dll"}) {
        Window w(fixture);
        w.ui.answers.assign(1000, MsgAnswer::Yes); // a resource broken on purpose is passed over
        const QModelIndex root = w.window.TreeModel->Root();
        for (int t = 0; t < Rows(root); ++t) {
            w.window.Expand(Child(root, t));
            for (int n = 0; n < Rows(Child(root, t)); ++n) {
                w.window.NodeClick(Child(Child(root, t), n));
                ++shown;
                // A clip is played, not only opened: its first frame is waited for.
                if (VideoWindow *video = w.Video(); video != nullptr)
                    WaitUntil([&] { return !video->frame().isNull() || video->ended(); }, 10000);
            }
        }
    }
    char events[4096];
    const ssize_t read = ::read(watch, events, sizeof events);
    QStringList created;
    for (ssize_t at = 0; at < read;) {
        const auto *event = reinterpret_cast<const inotify_event *>(events + at);
        created << QString::fromLocal8Bit(event->len > 0 ? event->name : "?");
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
    ::close(watch);
    EXPECT_GT(shown, 100);
    EXPECT_TRUE(created.isEmpty()) << created.join(QLatin1Char(' ')).toStdString();
}
