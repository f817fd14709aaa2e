// Takes a picture of the main window after a few scripted steps, for looking at what the program
// shows without a person at the controls:
//   zorvika_shot out.png [--open FILE] [--select "TYPE TEXT/NAME TEXT"] [--expand "TYPE TEXT"]
//                        [--hscroll N] [--vscroll N] [--wait MS] [--screen 1] [--args "SWITCHES"]
// Steps run in the order given. Message boxes are answered Yes and listed on standard output.
#include "about/ProgramResources.h"
#include "app/FrmMain.h"
#include "app/ResourceTreeView.h"
#include "resources/tree/ResourceTreeModel.h"
#include "views/display/DisplayBox.h"

#include <QApplication>
#include <QScreen>
#include <QScrollBar>
#include <QThread>
#include <QTimer>
#include <QTreeView>
#include <cstdio>

namespace {
class AnsweringUi : public Ui {
public:
    QString nextOpen;
    MsgAnswer MessageBox(const MessageRequest &r) override {
        std::printf("message: %s | %s\n", qPrintable(r.title), qPrintable(r.text));
        return r.buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
    }
    void ShowOpen(CommonDialog &d) override {
        d.fileName = nextOpen;
        d.fileTitle = nextOpen.section(QLatin1Char('/'), -1);
    }
    void ShowSave(CommonDialog &d) override { d.fileName.clear(); }
    bool OpenWithShell(const QString &) override { return true; }
};

// The child of `parent` with this text; invalid when there is none.
QModelIndex ChildNamed(const QModelIndex &parent, const QString &text) {
    const QAbstractItemModel *model = parent.model();
    for (int i = 0; model != nullptr && i < model->rowCount(parent); ++i)
        if (model->index(i, 0, parent).data().toString() == text) return model->index(i, 0, parent);
    return {};
}

void Settle(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
}
} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    InitProgramResources();
    QStringList args = QApplication::arguments().mid(1);
    if (args.isEmpty()) {
        std::fprintf(stderr, "usage: zorvika_shot out.png [steps]\n");
        return 2;
    }
    const QString out = args.takeFirst();
    QString switches;
    if (int i = static_cast<int>(args.indexOf(QStringLiteral("--args"))); i >= 0 && i + 1 < args.size()) {
        switches = args[i + 1];
        args.remove(i, 2);
    }
    AnsweringUi ui;
    FrmMain window(ui, switches);
    window.EndProgram = [] {};
    window.Load();
    window.show();
    Settle(300);
    for (int i = 0; i + 1 < args.size(); i += 2) {
        const QString step = args[i], value = args[i + 1];
        if (step == QLatin1String("--open")) {
            ui.nextOpen = value;
            window.MnuOpenFile_Click();
        } else if (step == QLatin1String("--expand") || step == QLatin1String("--select")) {
            const QModelIndex type =
                ChildNamed(window.TreeModel->Root(), value.section(QLatin1Char('/'), 0, 0));
            if (!type.isValid()) {
                std::fprintf(stderr, "no type %s\n", qPrintable(value));
                return 1;
            }
            window.TVResources->expand(type);
            const QModelIndex node = value.contains(QLatin1Char('/'))
                                         ? ChildNamed(type, value.section(QLatin1Char('/'), 1))
                                         : type;
            if (!node.isValid()) {
                std::fprintf(stderr, "no node %s\n", qPrintable(value));
                return 1;
            }
            if (step == QLatin1String("--select")) {
                window.TVResources->setCurrentIndex(node);
                window.NodeClick(node);
            }
        } else if (step == QLatin1String("--hscroll")) {
            window.HScroll->setValue(value.toInt());
        } else if (step == QLatin1String("--vscroll")) {
            window.VScroll->setValue(value.toInt());
        } else if (step == QLatin1String("--wait")) {
            Settle(value.toInt());
        }
        Settle(200);
    }
    Settle(300);
    // --screen 1: the whole screen, with top-level previews that lie over the window.
    const bool wholeScreen = args.contains(QStringLiteral("--screen"));
    const QPixmap shot = wholeScreen ? QGuiApplication::primaryScreen()->grabWindow(0) : window.grab();
    const bool saved = shot.save(out);
    std::printf("%s %s\n", saved ? "saved" : "could not save", qPrintable(out));
    return saved ? 0 : 1;
}
