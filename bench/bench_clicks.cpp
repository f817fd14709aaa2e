// Clicks a person waits for, in-process in the main window: from the click on a tree node to the
// view painted, beside the floor of the same work measured in the same run (decoding the bitmap,
// building the dump); scroll steps on what was shown; and the memory the clicks leave behind
// against the window's idle footprint.
#include "BenchSupport.h"
#include "TreeNodes.h"
#include "app/FrmMain.h"
#include "decoders/HexDump.h"
#include "decoders/PictureDecoders.h"
#include "views/display/TextBox.h"

#include <QApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTemporaryDir>
#include <cstdio>
#include <deque>
#include <tuple>

namespace {
class BenchUi : public Ui {
public:
    QString openPath;
    MsgAnswer MessageBox(const MessageRequest &) override { return MsgAnswer::Yes; }
    void ShowOpen(CommonDialog &dialog) override { dialog.fileName = openPath; }
    void ShowSave(CommonDialog &) override {}
    bool OpenWithShell(const QString &) override { return true; }
};

void Write(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
}

QByteArray RandomBytes(qsizetype size, quint32 seed) {
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator(seed).fillRange(reinterpret_cast<quint32 *>(bytes.data()), size / 4);
    return bytes;
}

// A resource-only DLL with a 3000 x 2000 bitmap of 24 bits per pixel and resources of 1 MiB and
// 16 MiB that only the dump shows.
QString LargeFixture(const QTemporaryDir &dir) {
    QImage big(3000, 2000, QImage::Format_RGB888);
    QPainter p(&big);
    QLinearGradient g(0, 0, big.width(), big.height());
    g.setColorAt(0, QColor(40, 90, 200));
    g.setColorAt(1, QColor(240, 200, 60));
    p.fillRect(big.rect(), g);
    for (int x = 0; x < big.width(); x += 50)
        p.drawLine(x, 0, x, big.height());
    for (int y = 0; y < big.height(); y += 50)
        p.drawLine(0, y, big.width(), y);
    for (int y = 0; y < big.height(); y += 100)
        for (int x = 0; x < big.width(); x += 200)
            p.drawText(x + 5, y + 30, QStringLiteral("%1, %2").arg(x).arg(y));
    p.end();
    big.save(dir.filePath(QStringLiteral("big.bmp")), "BMP");
    Write(dir.filePath(QStringLiteral("d1m.bin")), RandomBytes(qsizetype{1} << 20, 1));
    Write(dir.filePath(QStringLiteral("d16m.bin")), RandomBytes(qsizetype{16} << 20, 16));
    Write(dir.filePath(QStringLiteral("large.rc")),
          "BIG BITMAP \"big.bmp\"\nDUMP1M RCDATA \"d1m.bin\"\nDUMP16M RCDATA \"d16m.bin\"\n");
    const QString obj = dir.filePath(QStringLiteral("large.o")),
                  dll = dir.filePath(QStringLiteral("large.dll"));
    RunQuietly(QStringLiteral("x86_64-w64-mingw32-windres"),
               {QStringLiteral("-I"), dir.path(), QStringLiteral("-i"),
                dir.filePath(QStringLiteral("large.rc")), QStringLiteral("-o"), obj});
    RunQuietly(
        QStringLiteral("x86_64-w64-mingw32-ld"),
        {QStringLiteral("--dll"), QStringLiteral("-e"), QStringLiteral("0"), QStringLiteral("-o"), dll, obj});
    return dll;
}

QModelIndex Node(FrmMain &window, const QString &type, const QString &name) {
    QModelIndex root = window.TreeModel->Root();
    for (int i = 0; root.isValid() && i < Rows(root); ++i) {
        QModelIndex typeNode = Child(root, i);
        if (TypeText(typeNode) != type) continue;
        window.Expand(typeNode);
        for (int j = 0; j < Rows(typeNode); ++j)
            if (Text(Child(typeNode, j)) == name) return Child(typeNode, j);
    }
    return {};
}

// The click as the tree raises it, and whatever the event loop then paints and flushes.
void Click(FrmMain &window, QModelIndex node) {
    window.NodeClick(node);
    QApplication::processEvents();
}

// One step of a scroll bar and the paint that follows; alternately forward and back, so every
// step moves.
double StepMs(QScrollBar *bar, int step, int runs) {
    int direction = 1;
    return MedianMs(runs, [&] {
        if (bar->value() + direction * step > bar->maximum() || bar->value() + direction * step < 0)
            direction = -direction;
        bar->setValue(bar->value() + direction * step);
        QApplication::processEvents();
    });
}

double MiB(long kib) {
    return static_cast<double>(kib) / 1024.0;
}

// In a process of its own, so nothing but the window counts: the peak after start-up, after a
// click on the bitmap and after a click on the 1 MiB dump.
int MeasureMemory(const QString &dll) {
    BenchUi ui;
    FrmMain window(ui, QStringLiteral("/EMPTYLOAD"));
    window.Load();
    window.show();
    QApplication::processEvents();
    const long idle = StatusKiB("VmHWM:");
    ui.openPath = dll;
    window.MnuOpenFile_Click();
    Click(window, Node(window, QStringLiteral("2"), QStringLiteral("BIG")));
    const long afterBitmap = StatusKiB("VmHWM:");
    // Resident pages of the mapped file (the resource's own bytes) are part of that peak.
    const long fileBacked = StatusKiB("RssFile:"), anonymous = StatusKiB("RssAnon:");
    Click(window, Node(window, QStringLiteral("10"), QStringLiteral("DUMP1M")));
    const long afterDump = StatusKiB("VmHWM:");
    std::printf(
        "peak memory: idle window %.1f MiB | after the bitmap %.1f MiB | after the 1 MiB dump %.1f MiB "
        "| ratio to idle %.2f (goal < 1.5)\n",
        MiB(idle), MiB(afterBitmap), MiB(afterDump), MiB(afterDump) / MiB(idle));
    std::printf("  resident with the bitmap on show: %.1f MiB file-backed (the mapped module among them), "
                "%.1f MiB anonymous\n",
                MiB(fileBacked), MiB(anonymous));
    return 0;
}
} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--memory") == 0) return MeasureMemory(QString::fromLocal8Bit(argv[2]));
    QTemporaryDir dir;
    const QString dll = LargeFixture(dir);
    {
        QProcess memory;
        memory.setProcessChannelMode(QProcess::ForwardedOutputChannel);
        memory.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--memory"), dll});
        memory.waitForFinished(-1);
    }

    BenchUi ui;
    FrmMain window(ui, QStringLiteral("/EMPTYLOAD"));
    window.Load();
    window.show();
    ui.openPath = dll;
    window.MnuOpenFile_Click();
    QModelIndex bitmap = Node(window, QStringLiteral("2"), QStringLiteral("BIG"));
    QModelIndex dump1 = Node(window, QStringLiteral("10"), QStringLiteral("DUMP1M"));
    QModelIndex dump16 = Node(window, QStringLiteral("10"), QStringLiteral("DUMP16M"));
    if (!bitmap.isValid() || !dump1.isValid() || !dump16.isValid()) {
        std::printf("the large fixture could not be made or opened (%s)\n", qPrintable(dll));
        return 1;
    }
    // The bitmap: decoding alone, then the whole click.
    const ModuleCatalogue &module = window.Session.Module();
    const double decode = MedianMs(
        15, [&] { DecodeResourcePicture(module, *window.TreeModel->EntryOf(bitmap), window.Colours()); });
    const double clickBitmap = MedianMs(15, [&] { Click(window, bitmap); });
    std::printf(
        "3000 x 2000 x 24 bitmap: decoding %.1f ms | click to painted %.1f ms | goal 2 x decoding + 10 = "
        "%.1f ms | ratio to decoding %.2f\n",
        decode, clickBitmap, 2 * decode + 10, clickBitmap / decode);
    const double arrow = StepMs(window.HScroll, 1, 400);
    const double track = StepMs(window.VScroll, 10, 400);
    std::printf("scroll step on the bitmap: arrow (1 px) %.3f ms | track (10 px) %.3f ms (goal < 5 ms)\n",
                arrow, track);

    // The dumps: building the text alone, then the whole click (the size question answered Yes).
    for (const auto &[node, name, runs] : {std::tuple{dump1, QStringLiteral("DUMP1M"), 15},
                                           std::tuple{dump16, QStringLiteral("DUMP16M"), 5}}) {
        const double build = MedianMs(runs, [&] { HexDumpText(module, *window.TreeModel->EntryOf(node)); });
        const double click = MedianMs(runs, [&] { Click(window, node); });
        QScrollBar *lines = window.TStrings->verticalScrollBar();
        const double lineStep = StepMs(lines, 1, 300);
        const double pageStep = StepMs(lines, lines->pageStep(), 300);
        lines->setValue(lines->maximum() / 2);
        QApplication::processEvents();
        const double middle = StepMs(lines, lines->pageStep(), 300);
        std::printf("%s (%lld lines): building the dump %.1f ms | click to painted %.1f ms | ratio %.2f | "
                    "scroll: line %.3f ms, page %.3f ms, page in the middle %.3f ms\n",
                    qPrintable(name), static_cast<long long>(lines->maximum() + lines->pageStep()), build,
                    click, click / build, lineStep, pageStep, middle);
    }
    return 0;
}
