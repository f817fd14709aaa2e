// The menus of the main window: the bar, the enabling rules and the commands Open, Reset, About
// and Exit.
#include "app/ErrorTraps.h"
#include "app/FrmMain.h"
#include "app/ResourceTreeView.h"
#include "resources/Module.h"
#include "resources/tree/ResourceTree.h"
#include "system/SystemFolders.h"

#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

namespace {
// OFN_HIDEREADONLY + OFN_FILEMUSTEXIST + OFN_LONGNAMES
constexpr quint32 kOpenFlags = 4 + 4096 + 2097152;
} // namespace

void FrmMain::CreateMenus() {
    auto menu = [this](const char *name, const QString &caption) {
        QMenu *m = menuBar()->addMenu(caption);
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };
    auto item = [this](QMenu *m, const char *name, const QString &caption, const QKeySequence &keys,
                       void (FrmMain::*click)()) {
        QAction *a = m->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, click);
        if (!keys.isEmpty()) {
            // The menu shows the shortcut; the window's own shortcut applies the enabling rule
            // first, so the key of a disabled item does nothing.
            a->setShortcut(keys);
            a->setShortcutContext(Qt::WidgetShortcut);
            auto *shortcut = new QShortcut(keys, this);
            connect(shortcut, &QShortcut::activated, this, [this, m, a] {
                m == MnuFile ? MnuFile_Open() : MnuView_Open();
                if (a->isEnabled()) a->trigger();
            });
        }
        return a;
    };

    MnuFile = menu("MnuFile", QStringLiteral("&Файл"));
    MnuOpenFile = item(MnuFile, "MnuOpenFile", QStringLiteral("&Открыть файл..."),
                       QKeySequence(Qt::CTRL | Qt::Key_O), &FrmMain::MnuOpenFile_Click);
    MnuSaveResource = item(MnuFile, "MnuSaveResource", QStringLiteral("&Сохранить ресурс как..."),
                           QKeySequence(Qt::CTRL | Qt::Key_S), &FrmMain::MnuSaveResource_Click);
    MnuFile->addSeparator()->setObjectName(QStringLiteral("Separator"));
    MnuExit = item(MnuFile, "MnuExit", QStringLiteral("&Выход"), {}, &FrmMain::MnuExit_Click);
    MnuView = menu("MnuView", QStringLiteral("&Вид"));
    MnuReset = item(MnuView, "MnuReset", QStringLiteral("&Сбросить"), QKeySequence(Qt::CTRL | Qt::Key_R),
                    &FrmMain::MnuReset_Click);
    MnuHelp = menu("MnuHelp", QStringLiteral("&Справка"));
    MnuAbout = item(MnuHelp, "MnuAbout", QStringLiteral("&О программе"), {}, &FrmMain::MnuAbout_Click);

    connect(MnuFile, &QMenu::aboutToShow, this, [this] { RunReporting(ui_, [this] { MnuFile_Open(); }); });
    connect(MnuView, &QMenu::aboutToShow, this, [this] { RunReporting(ui_, [this] { MnuView_Open(); }); });
}

void FrmMain::MnuFile_Open() {
    MnuSaveResource->setEnabled((SelectedType == QLatin1String("6") || !SelectedName.isEmpty()) &&
                                !DisableSave);
}

void FrmMain::MnuView_Open() {
    MnuReset->setEnabled(TreeModel->rowCount() > 0);
}

void FrmMain::MnuOpenFile_Click() {
    FileCommandTrap(
        ui_, [this] { return CDlg.fileName; }, QStringLiteral("Не удаётся открыть файл."),
        QStringLiteral("При открытии произошла неизвестная ошибка!"),
        [this] {
            CDlg.dialogTitle = QStringLiteral("Открытие файла");
            CDlg.fileName.clear();
            CDlg.flags = kOpenFlags;
            CDlg.filter = QStringLiteral("Файлы с ресурсами|*.dll;*.exe|Все файлы|*.*");
            CDlg.initDir = GetWindowsDir();
            ui_.ShowOpen(CDlg);
            if (CDlg.fileName.isEmpty()) return;
            SelectedType.clear();
            SelectedName.clear();
            ReleaseModule();
            ClearDisplay();
            QStandardItem *root = OpenResourceFile(*TreeModel, CDlg.fileName, CDlg.fileTitle);
            TVResources->expand(root->index());
            SetCaption(CDlg.fileTitle);
        });
}

void FrmMain::MnuReset_Click() {
    RunReporting(ui_, [this] {
        ClearDisplay();
        SelectedType.clear();
        SelectedName.clear();
        ReloadChangedFile();
        TVResources->collapseAll();
        if (TreeModel->rowCount() == 0) return;
        const QModelIndex root = TreeModel->index(0, 0);
        TVResources->setCurrentIndex(root);
        TVResources->expand(root);
    });
}

void FrmMain::MnuAbout_Click() {
    ShowAbout();
}

void FrmMain::MnuExit_Click() {
    QuitProgram();
}
