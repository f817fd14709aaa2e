// The main window: start-up and the command line, the caption, the menus and their enabling
// rules, the Open and Reset commands, shut-down.
#include "MainWindowHarness.h"
#include "app/CommandLine.h"
#include "app/ResourceTreeView.h"
#include "system/SystemFolders.h"
#include "views/display/DisplayBox.h"
#include "views/display/TextBox.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QTimer>
#include <gtest/gtest.h>

TEST(CommandLine, SplitsAtBlanksAndTabsIntoAtMostSixteenTokens) {
    EXPECT_EQ(SplitCommandLine(QString()), QStringList{QString()});
    EXPECT_EQ(SplitCommandLine(QStringLiteral("  /a\t\t/b   \"c d\" ")),
              (QStringList{QString(), QStringLiteral("/a"), QStringLiteral("/b"), QStringLiteral("\"c"),
                           QStringLiteral("d\"")}));
    QStringList seventeen;
    for (int i = 1; i <= 17; ++i)
        seventeen << QStringLiteral("t%1").arg(i);
    const QStringList tokens = SplitCommandLine(seventeen.join(QLatin1Char(' ')));
    ASSERT_EQ(tokens.size(), 17);
    EXPECT_EQ(tokens.last(), QStringLiteral("t16"));
}

TEST(Caption, ShortensNamesLongerThan32Characters) {
    EXPECT_EQ(CaptionFor(QString()), QStringLiteral("Зорвика"));
    EXPECT_EQ(CaptionFor(QStringLiteral("Shell32.dll")), QStringLiteral("Shell32.dll - Зорвика"));
    const QString thirtyTwo = QString(28, QLatin1Char('x')) + QStringLiteral(".dll");
    EXPECT_EQ(CaptionFor(thirtyTwo), thirtyTwo + QStringLiteral(" - Зорвика"));
    const QString thirtyThree = QStringLiteral("a") + thirtyTwo;
    EXPECT_EQ(CaptionFor(thirtyThree), thirtyThree.left(29) + QStringLiteral("... - Зорвика"));
}

TEST(StartUp, OpensShell32FromTheSystemFolder) {
    MainWindowHarness h{QString()};
    h.window->Load();
    EXPECT_EQ(h.window->windowTitle(), QStringLiteral("Shell32.dll - Зорвика"));
    ASSERT_EQ(h.window->TreeModel->rowCount(), 1);
    EXPECT_EQ(Text(h.Root()), QStringLiteral("Shell32.dll"));
    EXPECT_TRUE(h.window->TVResources->isExpanded(h.Root()));
    ASSERT_TRUE(h.Type(QStringLiteral("Таблица строк")).isValid());
    EXPECT_EQ(Key(h.Type(QStringLiteral("Таблица строк"))), QStringLiteral("#6"));
    EXPECT_TRUE(h.ui.messages.empty());
    // The display area as laid out: the visible part of PDisplay ends where the bars begin.
    EXPECT_FALSE(h.window->HScroll->isEnabled());
    EXPECT_FALSE(h.window->VScroll->isEnabled());
    EXPECT_EQ(h.window->VScroll->geometry(), QRect(436, 0, 17, 332));
    EXPECT_EQ(h.window->HScroll->geometry(), QRect(0, 332, 436, 17));
    EXPECT_EQ(h.window->PMask->geometry(), QRect(436, 332, 17, 17));
    EXPECT_FALSE(h.window->TStrings->isVisible());
    EXPECT_EQ(h.window->TStrings->geometry(), h.window->PFrame->geometry());
    // Every control is found by its name.
    for (const char *name : {"TVResources", "PFrame", "PDisplay", "VScroll", "HScroll", "PMask", "TStrings",
                             "PTemp", "LInformation", "IInfo"})
        EXPECT_NE(h.window->findChild<QWidget *>(QLatin1String(name)), nullptr) << name;
}

TEST(StartUp, SwitchesInAnyCaseAndUnknownOnesWarned) {
    MainWindowHarness h(QStringLiteral("/emptyload file.dll /XYZ /DisableSave /SHOWABOUTX /showoverflow"));
    h.window->Load();
    EXPECT_TRUE(h.window->EmptyLoad);
    EXPECT_TRUE(h.window->DisableSave);
    EXPECT_TRUE(h.window->ShowOverflow);
    EXPECT_EQ(h.window->TreeModel->rowCount(), 0);
    EXPECT_EQ(h.window->windowTitle(), QStringLiteral("Зорвика"));
    ASSERT_EQ(h.ui.messages.size(), 2u);
    const MessageRequest &warning = h.ui.messages[0];
    EXPECT_EQ(warning.text, QStringLiteral("Программой был получен неизвестный командный ключ.\r\n"
                                           "\tСодержание: /XYZ\r\n\tКоличество символов: 4\r\n"
                                           "Командный ключ не может быть обработан!"));
    EXPECT_EQ(warning.title, QStringLiteral("Внимание"));
    EXPECT_EQ(warning.buttons, MsgButtons::Ok);
    EXPECT_EQ(warning.icon, MsgIcon::Warning);
    EXPECT_TRUE(h.ui.messages[1].text.contains(QStringLiteral("Содержание: /SHOWABOUTX\r\n")));
}

TEST(StartUp, SeventeenUnknownSwitchesGiveSixteenWarnings) {
    QStringList args;
    for (int i = 0; i < 17; ++i)
        args << QStringLiteral("/XYZ");
    MainWindowHarness h(args.join(QLatin1Char(' ')) + QStringLiteral(" /EMPTYLOAD"));
    h.window->Load();
    EXPECT_EQ(h.ui.messages.size(), 16u);
    EXPECT_FALSE(h.window->EmptyLoad); // the 18th token is dropped with the 17th
}

TEST(StartUp, ShowAboutComesBeforeTheTree) {
    MainWindowHarness h(QStringLiteral("/EMPTYLOAD /SHOWABOUT"));
    int treeRowsWhileAboutShown = -1;
    QString aboutTitle;
    QTimer::singleShot(0, [&] {
        QWidget *about = QApplication::activeModalWidget();
        ASSERT_NE(about, nullptr);
        aboutTitle = about->windowTitle();
        treeRowsWhileAboutShown = h.window->TreeModel->rowCount();
        about->close();
    });
    h.window->Load();
    EXPECT_EQ(aboutTitle, QStringLiteral("О программе"));
    EXPECT_EQ(treeRowsWhileAboutShown, 0);
    EXPECT_TRUE(h.window->EmptyLoad);
}

TEST(SystemFolders, PrefixFirstNamesWithoutCase) {
    TempFiles prefix;
    const QString system = prefix.path() + QStringLiteral("/drive_c/windows/system32");
    QDir().mkpath(system);
    QFile::copy(FixturePath(QStringLiteral("tree32.dll")), system + QStringLiteral("/SHELL32.DLL"));
    const QByteArray saved = qgetenv("WINEPREFIX");
    qputenv("WINEPREFIX", QFile::encodeName(prefix.path()));
    EXPECT_EQ(GetSystemDir(), system);
    EXPECT_EQ(GetWindowsDir(), prefix.path() + QStringLiteral("/drive_c/windows"));
    EXPECT_EQ(ResolvePathNoCase(system + QStringLiteral("/Shell32.dll")),
              system + QStringLiteral("/SHELL32.DLL"));
    // A prefix without the library is passed over.
    qputenv("WINEPREFIX", "/nonexistent");
    EXPECT_NE(GetSystemDir(), system);
    qputenv("WINEPREFIX", saved);
}

TEST(Menus, CaptionsShortcutsAndEnablingRules) {
    MainWindowHarness h{QString()};
    FrmMain &w = *h.window;
    w.Load();
    EXPECT_EQ(w.MnuFile->title(), QStringLiteral("&Файл"));
    EXPECT_EQ(w.MnuOpenFile->text(), QStringLiteral("&Открыть файл..."));
    EXPECT_EQ(w.MnuOpenFile->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
    EXPECT_EQ(w.MnuSaveResource->text(), QStringLiteral("&Сохранить ресурс как..."));
    EXPECT_EQ(w.MnuSaveResource->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    EXPECT_EQ(w.MnuExit->text(), QStringLiteral("&Выход"));
    EXPECT_EQ(w.MnuView->title(), QStringLiteral("&Вид"));
    EXPECT_EQ(w.MnuReset->text(), QStringLiteral("&Сбросить"));
    EXPECT_EQ(w.MnuReset->shortcut(), QKeySequence(QStringLiteral("Ctrl+R")));
    EXPECT_EQ(w.MnuHelp->title(), QStringLiteral("&Справка"));
    EXPECT_EQ(w.MnuAbout->text(), QStringLiteral("&О программе"));

    w.MnuFile_Open();
    EXPECT_FALSE(w.MnuSaveResource->isEnabled());
    // The string-table type node allows saving; any other type node does not.
    w.NodeClick(h.Type(QStringLiteral("Таблица строк")));
    w.MnuFile_Open();
    EXPECT_TRUE(w.MnuSaveResource->isEnabled());
    w.NodeClick(h.Type(QStringLiteral("MYTYPE")));
    w.MnuFile_Open();
    EXPECT_FALSE(w.MnuSaveResource->isEnabled());
    w.NodeClick(h.Name(QStringLiteral("MYTYPE"), QStringLiteral("ALPHA")));
    w.MnuFile_Open();
    EXPECT_TRUE(w.MnuSaveResource->isEnabled());
    // Reset forgets the selection.
    w.MnuReset_Click();
    w.MnuFile_Open();
    EXPECT_FALSE(w.MnuSaveResource->isEnabled());
    w.MnuView_Open();
    EXPECT_TRUE(w.MnuReset->isEnabled());
}

TEST(Menus, DisableSaveKeepsSaveOffAndEmptyTreeDisablesReset) {
    MainWindowHarness h(QStringLiteral("/DISABLESAVE /EMPTYLOAD"));
    FrmMain &w = *h.window;
    w.Load();
    w.MnuView_Open();
    EXPECT_FALSE(w.MnuReset->isEnabled());
    w.SelectedType = QStringLiteral("2");
    w.SelectedName = QStringLiteral("#1");
    w.MnuFile_Open();
    EXPECT_FALSE(w.MnuSaveResource->isEnabled());
    // Opening a file enables Reset again.
    h.ui.openAnswers.push_back(FixturePath(QStringLiteral("tree64.dll")));
    w.MnuOpenFile_Click();
    w.MnuView_Open();
    EXPECT_TRUE(w.MnuReset->isEnabled());
}

TEST(OpenCommand, DialogSettingsCancelAndAnyFile) {
    MainWindowHarness h{QString()};
    FrmMain &w = *h.window;
    w.Load();
    w.NodeClick(h.Name(QStringLiteral("MYTYPE"), QStringLiteral("ALPHA")));
    // Cancel: nothing changes.
    h.ui.openAnswers.push_back(QString());
    w.MnuOpenFile_Click();
    ASSERT_EQ(h.ui.openDialogs.size(), 1u);
    const CommonDialog &d = h.ui.openDialogs[0];
    EXPECT_EQ(d.dialogTitle, QStringLiteral("Открытие файла"));
    EXPECT_EQ(d.flags, 2101252u);
    EXPECT_EQ(d.filter, QStringLiteral("Файлы с ресурсами|*.dll;*.exe|Все файлы|*.*"));
    EXPECT_EQ(d.initDir, h.SystemDir().chopped(QStringLiteral("/system32").size()));
    EXPECT_EQ(w.SelectedName, QStringLiteral("ALPHA"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Shell32.dll - Зорвика"));
    EXPECT_NE(w.Session.Catalogue(), nullptr);

    // A text file: the root alone, named after the file; no message.
    TempFiles files;
    const QString text = files.Write(QStringLiteral("readme.txt"), "hello");
    h.ui.openAnswers.push_back(text);
    w.MnuOpenFile_Click();
    EXPECT_TRUE(h.ui.messages.empty());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("readme.txt - Зорвика"));
    ASSERT_EQ(w.TreeModel->rowCount(), 1);
    EXPECT_EQ(Rows(h.Root()), 0);
    EXPECT_EQ(Key(h.Root()), text);
    EXPECT_TRUE(w.SelectedName.isEmpty());
    EXPECT_EQ(w.Session.Catalogue(), nullptr);
}

TEST(Shutdown, ExitReleasesTheModuleAndEndsTheProgram) {
    MainWindowHarness h{QString()};
    h.window->Load();
    ASSERT_NE(h.window->Session.Catalogue(), nullptr);
    h.window->MnuExit_Click();
    EXPECT_EQ(h.window->Session.Catalogue(), nullptr);
    EXPECT_EQ(h.endCalls, 1);
}
