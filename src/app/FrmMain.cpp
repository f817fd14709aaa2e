#include "app/FrmMain.h"

#include "about/FrmAbout.h"
#include "app/CommandLine.h"
#include "app/ErrorTraps.h"
#include "app/ResourceTreeView.h"
#include "resources/tree/ResourceTreeModel.h"
#include "system/SystemFolders.h"
#include "system/Twips.h"
#include "views/FileText.h"
#include "views/display/DisplayBox.h"
#include "views/display/PaneFonts.h"
#include "views/display/TStringsWndProc.h"
#include "views/display/TextBox.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>

namespace {
// The window as designed, in twips.
constexpr double kClientWidth = 10560, kClientHeight = 7200;
constexpr double kBorderAllowance = 60; // both sides of PFrame's border together

void PlaceTwips(QWidget *w, double left, double top, double width, double height) {
    w->setGeometry(TwipsToPixelsX(left), TwipsToPixelsY(top), TwipsToPixelsX(width), TwipsToPixelsY(height));
}
double TwipsW(const QWidget *w) {
    return PixelsToTwipsX(w->width());
}
double TwipsH(const QWidget *w) {
    return PixelsToTwipsY(w->height());
}

template <typename T> T *Named(T *widget, const char *name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}
} // namespace

FrmMain::FrmMain(Ui &ui, QString arguments, QWidget *parent)
    : QMainWindow(parent), ui_(ui), arguments_(std::move(arguments)) {
    setObjectName(QStringLiteral("FrmMain"));
    // A fixed single border: no resizing, no maximise button.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    EndProgram = [] { QCoreApplication::exit(0); };
    setAcceptDrops(true); // a file dropped on the window opens as File, Open would open it
    CreateControls();
    CreateMenus();
}

FrmMain::~FrmMain() {
    Unload();
}

void FrmMain::CreateControls() {
    auto *client = new QWidget(this);
    client->setFixedSize(TwipsToPixelsX(kClientWidth), TwipsToPixelsY(kClientHeight));
    setCentralWidget(client);

    TreeModel = new ResourceTreeModel(this);
    TVResources = Named(new ResourceTreeView(client), "TVResources");
    TVResources->setModel(TreeModel);
    PlaceTwips(TVResources, 120, 120, 3375, 5295);

    PFrame = Named(new QFrame(client), "PFrame");
    PlaceTwips(PFrame, 3600, 120, 6855, 5295);
    // The border takes the allowance on each axis: half of it on either side.
    const int border = std::max(1, TwipsToPixelsX(kBorderAllowance / 2));
    PFrame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    PFrame->setLineWidth(border);
    frameClient_ = new QWidget(PFrame);
    frameClient_->setGeometry(border, border, PFrame->width() - 2 * border, PFrame->height() - 2 * border);
    frameClient_->installEventFilter(this); // the wheel where the display does not reach

    PDisplay = Named(new DisplayBox(frameClient_), "PDisplay");
    PDisplay->setFont(DesignFont());
    PDisplay->ResizeHandler = [this] { PDisplay_Resize(); };
    PDisplay->installEventFilter(this); // its scrolling keys
    VScroll = Named(new QScrollBar(Qt::Vertical, frameClient_), "VScroll");
    PlaceTwips(VScroll, 6480, 120, 255, 4695);
    HScroll = Named(new QScrollBar(Qt::Horizontal, frameClient_), "HScroll");
    PlaceTwips(HScroll, 120, 4920, 6255, 255);
    PMask = Named(new QWidget(frameClient_), "PMask");
    PMask->setAutoFillBackground(true);
    PMask->setBackgroundRole(QPalette::Button);

    TStrings = Named(new TextBox(client), "TStrings");
    PTemp = Named(new DisplayBox(client), "PTemp");
    PTemp->hide();

    LInformation = Named(new QLabel(client), "LInformation");
    PlaceTwips(LInformation, 120, 5520, 10335, 1575);
    LInformation->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    FileText::MakePlain(*LInformation);
    IInfo = Named(new QLabel(client), "IInfo");
    PlaceTwips(IInfo, 10080, 5640, 240, 240);
    IInfo->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(IInfo->size()));
    IInfo->raise();

    for (QScrollBar *bar : {HScroll, VScroll}) {
        bar->setFocusPolicy(Qt::ClickFocus);
        bar->installEventFilter(this);
        connect(bar, &QScrollBar::valueChanged, this, [this, bar] {
            RunReporting(ui_, [&] { bar == HScroll ? HScroll_Change() : VScroll_Change(); });
        });
    }
    connect(TVResources, &ResourceTreeView::NodeClick, this,
            [this](const QModelIndex &index) { NodeClick(index); });
    connect(TVResources, &QTreeView::expanded, this,
            [this](const QModelIndex &index) { RunReporting(ui_, [&] { Expand(index); }); });
    connect(TVResources, &QTreeView::collapsed, this,
            [this](const QModelIndex &index) { RunReporting(ui_, [&] { Collapse(index); }); });
}

SystemColours FrmMain::Colours() const {
    return SystemColours::OfTheme(QGuiApplication::palette());
}

void FrmMain::ShowFile(const QString &path, const QString &displayName) {
    Session.Open(path);
    displayName_ = displayName;
    TreeModel->Show(Session.Catalogue(), path, displayName);
    TVResources->expand(TreeModel->Root());
}

void FrmMain::Load() {
    // 1. Place the window on the screen.
    adjustSize();
    setFixedSize(size());
    PlaceOnScreen();
    placeByFrame_ = true;
    // 2.-5. The display area inside PFrame's border.
    const double frameW = TwipsW(PFrame), frameH = TwipsH(PFrame);
    const double vScrollW = TwipsW(VScroll), hScrollH = TwipsH(HScroll);
    PlaceTwips(VScroll, frameW - vScrollW - kBorderAllowance, 0, vScrollW,
               frameH - hScrollH - kBorderAllowance);
    PlaceTwips(HScroll, 0, frameH - hScrollH - kBorderAllowance, frameW - vScrollW - kBorderAllowance,
               hScrollH);
    for (QScrollBar *bar : {VScroll, HScroll}) {
        bar->setSingleStep(1);
        bar->setEnabled(false);
    }
    PDisplay->setGeometry(0, 0, TwipsToPixelsX(frameW - vScrollW - kBorderAllowance),
                          TwipsToPixelsY(frameH - hScrollH - kBorderAllowance));
    Session.viewport = {static_cast<int>(RoundHalfEven(TwipsW(PDisplay))),
                        static_cast<int>(RoundHalfEven(TwipsH(PDisplay)))};
    PMask->setGeometry(HScroll->x() + HScroll->width(), VScroll->y() + VScroll->height(), VScroll->width(),
                       HScroll->height());
    // 6. The text box lies exactly over the frame and is hidden.
    TStrings->setGeometry(PFrame->geometry());
    TStrings->hide();
    TStrings->setBackgroundRole(QPalette::Button);
    // 8. The text box's event handling.
    tstringsWndProc_ = new TStringsWndProc(this, this);
    TStrings->viewport()->installEventFilter(tstringsWndProc_);
    // 9.-11.
    SetCaption(QString());
    ParseCommandLine();
    if (!EmptyLoad) {
        ShowFile(GetSystemDir() + QStringLiteral("/Shell32.dll"), QStringLiteral("Shell32.dll"));
        SetCaption(QStringLiteral("Shell32.dll"));
    }
    // 12.-13.
    ClearDisplay();
    PDisplay_Resize();
}

void FrmMain::PlaceOnScreen() {
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect s = screen->availableGeometry();
    const QSize frame = frameGeometry().size();
    const auto along = [](int start, int available, int length) {
        return length <= available ? start + available / 2 - length / 2 : start;
    };
    move(along(s.x(), s.width(), frame.width()), along(s.y(), s.height(), frame.height()));
}

bool FrmMain::event(QEvent *event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        ApplyRuleOfShortcut(*static_cast<QKeyEvent *>(event));
        break;
    case QEvent::Show:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowActivate:
        // The first of these after the frame became known places the window by it.
        if (placeByFrame_ && isVisible() && frameGeometry().size() != size()) {
            placeByFrame_ = false;
            PlaceOnScreen();
        }
        break;
    default:
        break;
    }
    return QMainWindow::event(event);
}

void FrmMain::ParseCommandLine() {
    for (const QString &token : SplitCommandLine(arguments_)) {
        if (token.isEmpty()) continue;
        const QString upper = token.toUpper();
        if (upper == QLatin1String("/SHOWABOUT")) {
            ShowAbout();
        } else if (upper == QLatin1String("/EMPTYLOAD")) {
            EmptyLoad = true;
        } else if (upper == QLatin1String("/DISABLESAVE")) {
            DisableSave = true;
        } else if (upper == QLatin1String("/SHOWOVERFLOW")) {
            ShowOverflow = true;
        } else if (token.startsWith(QLatin1Char('/'))) {
            ui_.MessageBox(
                {UnknownSwitchText(token), QStringLiteral("Внимание"), MsgButtons::Ok, MsgIcon::Warning, 1});
        }
    }
}

void FrmMain::SetCaption(const QString &displayName) {
    setWindowTitle(FileText::WindowTitle(CaptionFor(displayName)));
}

void FrmMain::ShowAbout() {
    FrmAbout about(ui_, this);
    about_ = &about;
    about.exec();
}

void FrmMain::QuitProgram() {
    if (about_) about_->reject();
    close();
    Unload();
    if (EndProgram) EndProgram();
}

void FrmMain::closeEvent(QCloseEvent *event) {
    Unload();
    QMainWindow::closeEvent(event);
}

void FrmMain::Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    Session.Release();
    // The text box gets its own event handling back before it is destroyed.
    if (tstringsWndProc_ != nullptr) TStrings->viewport()->removeEventFilter(tstringsWndProc_);
}

void FrmMain::SetMousePointer(int pointer) {
    mousePointer_ = pointer;
    if (pointer == 11)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
}
