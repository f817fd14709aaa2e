// The program without its media stack: after start-up nothing of FFmpeg, FluidSynth or Qt
// Multimedia is mapped until a media resource is clicked; and with the media module missing,
// broken or of another build, the program still starts and lists Shell32.dll, a media click
// reports the failure and the program goes on. This suite, like the program and unlike the other
// suites, links none of the media code.
#include "FakeUi.h"
#include "app/FrmMain.h"
#include "app/ResourceTreeView.h"
#include "media/MediaModule.h"
#include "resources/tree/ResourceTreeModel.h"
#include "views/display/DisplayBox.h"
#include "views/media/VideoWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <unistd.h>

namespace {
// The file names of the mapped libraries that belong to the media stack or its module.
QStringList MappedMediaLibraries() {
    static const QRegularExpression media(QStringLiteral(
        "^(libav(format|codec|util)|libsw(scale|resample)|libfluidsynth|libQt6Multimedia|zorvika_media)"));
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly)) return {QStringLiteral("(maps unreadable)")};
    QStringList found;
    for (const QByteArray &line : maps.readAll().split('\n')) {
        const QString name = QString::fromLocal8Bit(line.mid(line.lastIndexOf('/') + 1));
        if (line.contains('/') && media.match(name).hasMatch() && !found.contains(name)) found << name;
    }
    found.sort();
    return found;
}

void Settle(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
}

QModelIndex Child(const QModelIndex &parent, const QString &text) {
    const QAbstractItemModel *model = parent.model();
    for (int i = 0; model != nullptr && i < model->rowCount(parent); ++i)
        if (model->index(i, 0, parent).data().toString() == text) return model->index(i, 0, parent);
    return {};
}

// A left click on the node's text in the tree, as a person makes it.
void ClickNode(FrmMain &form, const QString &type, const QString &name) {
    const QModelIndex typeNode = Child(form.TreeModel->Root(), type);
    ASSERT_TRUE(typeNode.isValid()) << type.toStdString();
    form.TVResources->expand(typeNode);
    const QModelIndex node = Child(typeNode, name);
    ASSERT_TRUE(node.isValid()) << name.toStdString();
    form.TVResources->scrollTo(node);
    const QPointF at = QRectF(form.TVResources->visualRect(node)).center();
    QWidget *viewport = form.TVResources->viewport();
    for (const QEvent::Type kind : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(kind, at, viewport->mapToGlobal(at), Qt::LeftButton,
                          kind == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    }
}

TEST(MediaOnFirstUse, NothingOfTheMediaStackIsMappedUntilAMediaResourceIsClicked) {
    ASSERT_EQ(MappedMediaLibraries(), QStringList());
    FakeUi ui;
    FrmMain form(ui, QString());
    form.EndProgram = [] {};
    form.Load();
    form.show();
    Settle(200); // shown and painted
    ASSERT_EQ(form.windowTitle(), QStringLiteral("Shell32.dll - Зорвика"));
    EXPECT_EQ(MappedMediaLibraries(), QStringList());

    // Pictures, texts and the display reset (which stops playback) need none of it.
    ClickNode(form, QStringLiteral("Ресурс версии"), QStringLiteral("1"));
    ClickNode(form, QStringLiteral("Точечный рисунок"), QStringLiteral("133"));
    EXPECT_TRUE(form.LInformation->text().contains(QStringLiteral("133")));
    EXPECT_EQ(MappedMediaLibraries(), QStringList());
    EXPECT_FALSE(MediaModule::Loaded());

    ClickNode(form, QStringLiteral("AVI"), QStringLiteral("150"));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(MediaModule::Loaded());
    const QStringList mapped = MappedMediaLibraries().join(QLatin1Char(' ')).split(QLatin1Char(' '));
    for (const char *library : {"zorvika_media.so", "libavformat", "libavcodec", "libswscale",
                                "libfluidsynth", "libQt6Multimedia.so"})
        EXPECT_EQ(mapped.filter(QLatin1String(library)).size(), 1) << library;
    // The module plays the clip in the program's window.
    VideoWindow *video = form.PDisplay->findChild<VideoWindow *>();
    ASSERT_NE(video, nullptr);
    QElapsedTimer waited;
    waited.start();
    while (video->frame().isNull() && waited.elapsed() < 10000)
        Settle(10);
    EXPECT_EQ(video->frame().size(), QSize(80, 50));
}

// zorvika_shot (the program's window behind a scripted user who answers Yes) run from a folder
// of its own, with the module beside it as the case says.
struct ModuleCase {
    const char *label;
    std::function<bool(const QString &modulePath)> place;
    const char *code;
    const char *description;
};

TEST(MediaOnFirstUse, WithoutAWorkingModuleAMediaClickFailsAndTheProgramGoesOn) {
    const ModuleCase cases[] = {
        {"missing", [](const QString &) { return true; }, "Код: 53",
         "Не найден модуль воспроизведения мультимедиа "},
        {"not a library",
         [](const QString &path) {
             QFile f(path);
             return f.open(QIODevice::WriteOnly) && f.write("not a shared object\n") > 0;
         },
         "Код: 48", "Не удаётся загрузить модуль воспроизведения мультимедиа "},
        {"another build",
         [](const QString &path) { return QFile::copy(QStringLiteral(OTHER_BUILD_MODULE), path); }, "Код: 48",
         ": модуль от другой версии программы"},
    };
    for (const ModuleCase &c : cases) {
        SCOPED_TRACE(c.label);
        QTemporaryDir dir(QCoreApplication::applicationDirPath() + QStringLiteral("/startup-XXXXXX"));
        ASSERT_TRUE(dir.isValid());
        const QString program = dir.filePath(QStringLiteral("zorvika_shot"));
        // A hard link runs the same file from this folder; a copy where the folders' file
        // systems differ.
        if (::link(ZORVIKA_SHOT, QFile::encodeName(program).constData()) != 0) {
            ASSERT_TRUE(QFile::copy(QStringLiteral(ZORVIKA_SHOT), program));
        }
        // The program names the module by the canonical path of its own folder.
        const QString module = QDir(dir.path()).canonicalPath() + QStringLiteral("/zorvika_media.so");
        ASSERT_TRUE(c.place(module));

        QProcess run;
        run.start(program,
                  {dir.filePath(QStringLiteral("shot.png")), QStringLiteral("--select"),
                   QStringLiteral("AVI/150"), QStringLiteral("--select"), QStringLiteral("Ресурс версии/1"),
                   QStringLiteral("--select"), QStringLiteral("AVI/151")});
        ASSERT_TRUE(run.waitForFinished(60000));
        const QString out = QString::fromUtf8(run.readAllStandardOutput());
        // Every node was found in the tree of Shell32.dll, and the picture was taken at the end.
        EXPECT_EQ(run.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(run.exitCode(), 0) << out.toStdString() << run.readAllStandardError().toStdString();
        EXPECT_TRUE(out.endsWith(QStringLiteral("saved %1\n").arg(dir.filePath(QStringLiteral("shot.png")))))
            << out.toStdString();
        // Each media click gave the one failure box of the display trap; the version click none.
        const QStringList boxes = out.split(QStringLiteral("message: ")).mid(1);
        ASSERT_EQ(boxes.size(), 2) << out.toStdString();
        for (const QString &box : boxes) {
            EXPECT_TRUE(
                box.startsWith(QStringLiteral("Ошибка | В программе произошла неизвестная ошибка!\r\n")))
                << box.toStdString();
            EXPECT_TRUE(box.contains(QString::fromUtf8(c.code))) << box.toStdString();
            EXPECT_TRUE(box.contains(QString::fromUtf8(c.description))) << box.toStdString();
            EXPECT_TRUE(box.contains(module)) << box.toStdString();
        }
    }
}
} // namespace
