#pragma once
// The main window: the resource tree on the left, the display area on the right, the information
// header below, and the menus. The window only wires the person's actions to the layers below.
#include "app/ViewingSession.h"
#include "imaging/SystemColours.h"
#include "resources/ResourceEntry.h"
#include "system/ReadOnlyFile.h"
#include "system/Ui.h"
#include "views/display/ScrollSteps.h"

#include <QMainWindow>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <optional>

class DisplayBox;
class FrmAbout;
class QDragEnterEvent;
class QDropEvent;
class QFrame;
class QKeyEvent;
class QLabel;
class QMenu;
class QScrollBar;
class ResourceTreeModel;
class QWheelEvent;
class ResourceTreeView;
class TStringsWndProc;
class TextBox;

class FrmMain : public QMainWindow {
    Q_OBJECT
public:
    // `arguments`: the program's arguments joined by blanks.
    FrmMain(Ui &ui, QString arguments, QWidget *parent = nullptr);
    ~FrmMain() override;

    // The load event: lays out the display area, reads the command line and opens Shell32.dll.
    void Load();

    // Controls, named as the window was designed; each widget's objectName is its name.
    ResourceTreeView *TVResources = nullptr;
    ResourceTreeModel *TreeModel = nullptr;
    QFrame *PFrame = nullptr;
    DisplayBox *PDisplay = nullptr;
    QScrollBar *VScroll = nullptr;
    QScrollBar *HScroll = nullptr;
    QWidget *PMask = nullptr;
    TextBox *TStrings = nullptr;
    DisplayBox *PTemp = nullptr;
    QLabel *LInformation = nullptr;
    QLabel *IInfo = nullptr;
    CommonDialog CDlg;

    QMenu *MnuFile = nullptr;
    QAction *MnuOpenFile = nullptr;
    QAction *MnuSaveResource = nullptr;
    QAction *MnuExit = nullptr;
    QMenu *MnuView = nullptr;
    QAction *MnuReset = nullptr;
    QMenu *MnuHelp = nullptr;
    QAction *MnuAbout = nullptr;

    // Switches of the command line; set once, never cleared.
    bool ShowOverflow = false;
    bool EmptyLoad = false;
    bool DisableSave = false;
    // The current selection, as identifier strings, and the very entry its node stands for (empty
    // while no name node is selected).
    QString SelectedType;
    QString SelectedName;
    std::optional<ResourceEntry> SelectedEntry;
    // The opened file, its preview, its medium and the display area's visible size.
    ViewingSession Session;

    // Event handlers, callable directly.
    void NodeClick(const QModelIndex &node);
    void Expand(const QModelIndex &node);
    void Collapse(const QModelIndex &node);
    void MnuOpenFile_Click();
    void MnuSaveResource_Click();
    void MnuReset_Click();
    void MnuAbout_Click();
    void MnuExit_Click();
    void MnuFile_Open(); // the File menu's enabling rule
    void MnuView_Open(); // the View menu's enabling rule
    void PDisplay_Resize();
    void HScroll_Change();
    void VScroll_Change();
    void ClearDisplay();
    void SetCaption(const QString &displayName);
    void QuitProgram();

    // The colours pictures are loaded and drawn with: the desktop theme's.
    SystemColours Colours() const;
    // 0 for the default pointer, 11 for the hourglass.
    int MousePointer() const { return mousePointer_; }
    Ui &ui() { return ui_; }
    // Ends the process; tests put something harmless here.
    std::function<void()> EndProgram;

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void CreateControls();
    void CreateMenus();
    // Centred on the screen along each axis where the frame fits, else from the available area's
    // top or left edge, so that the title bar and the menu are always in reach.
    void PlaceOnScreen();
    // Runs the enabling rule of the menu whose item has this key as its shortcut.
    void ApplyRuleOfShortcut(const QKeyEvent &key);
    // The Open command: `choose` names a file in CDlg, or returns false when none was chosen.
    void OpenFile(const std::function<bool()> &choose);
    bool ScrollDisplayByKey(const QKeyEvent &key);
    // The wheel over the display or one of its scroll bars (`over`) moves the picture.
    void ScrollDisplayByWheel(const QObject *over, const QWheelEvent &wheel);
    // The height of one line printed on the display: the unit of the wheel and of a page's overlap.
    int DisplayLine() const;
    void ParseCommandLine();
    void ShowAbout();
    void Unload();
    // Opens the file in the session and shows it in the tree, its root expanded.
    void ShowFile(const QString &path, const QString &displayName);
    bool ShowSelectedResource(const ResourceEntry &entry);
    bool ShowTextRow(const std::function<QString()> &decode, bool proportional);
    // What became of the loaded file on disk since it was opened, looked at now.
    ReadOnlyFile::State LoadedFileState() const;
    // Says once per loaded file that it changed on disk since it was opened.
    void ReportChangedFile(ReadOnlyFile::State state);
    // Reads the loaded file again when it was changed in place or replaced; true when it did.
    bool ReloadChangedFile();
    void SetMousePointer(int pointer);

    Ui &ui_;
    QString arguments_;
    QWidget *frameClient_ = nullptr; // the inside of PFrame's border, which clips PDisplay
    TStringsWndProc *tstringsWndProc_ = nullptr;
    QPointer<FrmAbout> about_;
    int mousePointer_ = 0;
    // The window manager reports the frame only after the window is shown: until then the
    // window is placed by its client size, and once more by the whole frame when that is known.
    bool placeByFrame_ = false;
    bool unloaded_ = false;
    QString displayName_;                 // the open file's name as the tree's root shows it
    std::uint64_t changeReportedFor_ = 0; // the session's open whose change was last said
    WheelDistance wheelDistance_;
};
