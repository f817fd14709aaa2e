// The window's Save and zorvika-cli's extract write the same bytes: for every resource of the
// fixtures and of three of Wine's libraries, each entry of the save dialog is taken through the
// window's own dialog path and compared with extract in the matching form.
#include "CliRun.h"
#include "CommandLineTheme.h"
#include "FakeUi.h"
#include "Fixtures.h"
#include "MediaTestSupport.h"
#include "TreeNodes.h"
#include "cli/ResourceSelector.h"
#include "export/SaveForms.h"

#include <QDir>
#include <QGuiApplication>
#include <QMap>
#include <QPalette>
#include <gtest/gtest.h>

namespace {
// What extract writes for the resource in the form `choice` ("" for the first entry's); empty when
// it writes nothing.
QByteArray Extracted(const QString &file, const ResourceEntry &entry, const QString &choice) {
    TempFiles out;
    QStringList arguments{QStringLiteral("extract"), file,
                          QStringLiteral("-t"),      TypeArgument(entry.type),
                          QStringLiteral("-n"),      NameArgument(entry.name),
                          QStringLiteral("-o"),      out.path()};
    if (!choice.isEmpty()) arguments << choice;
    RunCliHere(arguments);
    const QStringList written = QDir(out.path()).entryList(QDir::Files);
    return written.size() == 1 ? ReadFileBytes(QDir(out.path()).filePath(written[0])) : QByteArray();
}
} // namespace

TEST(SaveMatchesExtract, EveryResourceInEveryFormOfferedIsWrittenAlike) {
    QStringList files;
    for (const char *fixture :
         {"pictures32.dll", "media64.dll", "menus32.dll", "strtab64.dll", "accel32.dll", "msgtab64.dll",
          "verinfo32.dll", "tree64.dll", "dialogs32.dll", "digits32.dll"})
        files << FixturePath(QString::fromUtf8(fixture));
    for (const char *library : {"shell32.dll", "comctl32.dll", "user32.dll"})
        if (QFile::exists(kWineLibraries + QLatin1Char('/') + QLatin1String(library)))
            files << kWineLibraries + QLatin1Char('/') + QLatin1String(library);
    // The window draws in the desktop theme's colours, the command in fixed ones: here they agree.
    const CommandLineTheme theme;
    FakeUi ui;
    FrmMain window(ui, QStringLiteral("/EMPTYLOAD"));
    window.EndProgram = [] {};
    window.Load();
    TempFiles saved;
    int compared = 0;
    for (const QString &file : files) {
        ui.openAnswers.push_back(file);
        window.MnuOpenFile_Click();
        const QModelIndex root = window.TreeModel->Root();
        for (int t = 0; t < Rows(root); ++t) {
            window.Expand(Child(root, t));
            for (int n = 0; n < Rows(Child(root, t)); ++n) {
                const QModelIndex node = Child(Child(root, t), n);
                const ResourceEntry entry = *window.TreeModel->EntryOf(node);
                ui.answers.assign(4, MsgAnswer::Yes); // a long text is shown, a broken one passed over
                window.NodeClick(node);
                const qsizetype entries = (SaveFilter(entry.type).count(QLatin1Char('|')) + 1) / 2;
                for (int index = 1; index <= entries; ++index) {
                    const std::string where = (file + QLatin1Char(' ') + TypeArgument(entry.type) +
                                               QLatin1Char(' ') + NameArgument(entry.name))
                                                  .toStdString() +
                                              " entry " + std::to_string(index);
                    const QString target = saved.path() + QStringLiteral("/saved");
                    QFile::remove(target);
                    ui.saveAnswers.push_back(target);
                    ui.saveFilterIndexes.push_back(index);
                    window.MnuSaveResource_Click();
                    // The second entry draws a picture as a bitmap, or writes any other type's raw bytes.
                    const QString choice = index == 1 ? QString()
                                           : SaveSourceOf(entry.type) == SaveSource::Picture
                                               ? QStringLiteral("--bmp")
                                               : QStringLiteral("--raw");
                    EXPECT_EQ(ReadFileBytes(target), Extracted(file, entry, choice)) << where;
                    ++compared;
                }
            }
        }
    }
    std::printf("[ compared %d saves of %lld files ]\n", compared, static_cast<long long>(files.size()));
    EXPECT_GT(compared, 200);
}

TEST(SaveMatchesExtract, ExtractWritesTheSameBytesUnderAnyDesktopTheme) {
    // Bitmaps with the greys that become 3D colours, and icons drawn over the button face.
    const QString file = FixturePath(QStringLiteral("pictures32.dll"));
    const auto extractAll = [&](const QStringList &form) {
        TempFiles out;
        RunCliHere(QStringList{QStringLiteral("extract"), file, QStringLiteral("-o"), out.path()} + form);
        QMap<QString, QByteArray> files;
        for (const QString &name : QDir(out.path()).entryList(QDir::Files))
            files.insert(name, ReadFileBytes(QDir(out.path()).filePath(name)));
        return files;
    };
    const QPalette saved = QGuiApplication::palette();
    for (const QStringList &form : {QStringList(), QStringList{QStringLiteral("--bmp")}}) {
        const auto before = extractAll(form);
        QPalette other = saved;
        for (const QPalette::ColorRole role :
             {QPalette::Dark, QPalette::Button, QPalette::Midlight, QPalette::Window})
            other.setColor(role, QColor(12, 34, 56));
        QGuiApplication::setPalette(other);
        const auto after = extractAll(form);
        QGuiApplication::setPalette(saved);
        EXPECT_GT(before.size(), 10);
        EXPECT_EQ(before, after) << form.join(QLatin1Char(' ')).toStdString();
    }
}
