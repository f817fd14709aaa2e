// The menus of the main window: the bar, the enabling rules and the commands Open, Reset, About
// and Exit.
#include "app/ErrorTraps.h"
#include "app/FrmMain.h"
#include "app/ResourceTreeView.h"
#include "resources/tree/ResourceTreeModel.h"
#include "system/SystemFolders.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

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
        // One registration per key, window-wide; event() runs the item's enabling rule before
        // the key is matched, so the key of a disabled item does nothing.
        if (!keys.isEmpty()) a->setShortcut(keys);
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

void FrmMain::ApplyRuleOfShortcut(const QKeyEvent &key) {
    const QKeySequence pressed(key.keyCombination());
    for (QMenu *menu : {MnuFile, MnuView})
        for (const QAction *action : menu->actions())
            if (!action->shortcut().isEmpty() && action->shortcut() == pressed) {
                RunReporting(ui_, [&] { menu == MnuFile ? MnuFile_Open() : MnuView_Open(); });
                return;
            }
}

void FrmMain::MnuFile_Open() {
    MnuSaveResource->setEnabled((SelectedType == QLatin1String("6") || !SelectedName.isEmpty()) &&
                                !DisableSave);
}

void FrmMain::MnuView_Open() {
    MnuReset->setEnabled(TreeModel->rowCount() > 0);
}

void FrmMain::MnuOpenFile_Click() {
    OpenFile([this] {
        CDlg.dialogTitle = QStringLiteral("Открытие файла");
        CDlg.fileName.clear();
        CDlg.flags = kOpenFlags;
        CDlg.filter = QStringLiteral("Файлы с ресурсами|*.dll;*.exe|Все файлы|*.*");
        CDlg.initDir = GetWindowsDir();
        ui_.ShowOpen(CDlg);
        return !CDlg.fileName.isEmpty();
    });
}

void FrmMain::OpenFile(const std::function<bool()> &choose) {
    FileCommandTrap(
        ui_, [this] { return CDlg.fileName; }, QStringLiteral("Не удаётся открыть файл."),
        QStringLiteral("При открытии произошла неизвестная ошибка!"),
        [this, &choose] {
            if (!choose()) return;
            SelectedType.clear();
            SelectedName.clear();
            SelectedEntry.reset();
            Session.Release();
            ClearDisplay();
            ShowFile(CDlg.fileName, CDlg.fileTitle);
            SetCaption(CDlg.fileTitle);
        });
}

namespace {
// The one file a drag carries, as the open dialog could have chosen it: a single local path
// that is not a folder. Empty for anything else.
QString DroppedFile(const QMimeData *data) {
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) return {};
    const QUrl url = data->urls().constFirst();
    if (!url.isLocalFile()) return {};
    const QString path = url.toLocalFile();
    const QFileInfo info(path);
    return info.exists() && !info.isDir() ? path : QString();
}
} // namespace

void FrmMain::dragEnterEvent(QDragEnterEvent *event) {
    if (!DroppedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void FrmMain::dropEvent(QDropEvent *event) {
    const QString path = DroppedFile(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    // The dropped file opens as if the open dialog had chosen it, once the drag has ended: the
    // program that the file came from does not wait while it loads or while a message is shown.
    QTimer::singleShot(0, this, [this, path] {
        OpenFile([this, &path] {
            CDlg.fileName = path;
            CDlg.fileTitle = QFileInfo(path).fileName();
            return true;
        });
    });
}

void FrmMain::MnuReset_Click() {
    RunReporting(ui_, [this] {
        ClearDisplay();
        SelectedType.clear();
        SelectedName.clear();
        SelectedEntry.reset();
        ReloadChangedFile();
        TVResources->collapseAll();
        const QModelIndex root = TreeModel->Root();
        if (!root.isValid()) return;
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
