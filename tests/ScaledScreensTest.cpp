// The window on scaled desktops: a scale factor or a font DPI is fixed before the application
// starts, so each screen runs the window in a process of its own (this program, one of the
// DISABLED_ tests below) on a virtual screen of the offscreen platform, and says what it saw.
#include "MainWindowHarness.h"
#include "app/ResourceTreeView.h"
#include "resources/tree/TreeImages.h"
#include "views/display/DisplayBox.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenuBar>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>
#include <cmath>
#include <cstdlib>
#include <set>

namespace {
// A virtual screen: its size in device pixels, Qt's scale factor and the desktop's font DPI (as
// Xft.dpi sets it; 96 is none).
struct Screen {
    const char *what;
    const char *scale;
    int dpi;
    QSize size;
    double pixelRatio; // what the two make of a logical pixel
};

struct ChildRun {
    int exitCode = -1;
    QString output;
};

// Runs one DISABLED_ test of this program on the screen.
ChildRun RunOn(const Screen &screen, const char *test) {
    QTemporaryDir folder;
    QFile config(folder.filePath(QStringLiteral("screen.json")));
    const QJsonObject one{{"name", "virtual"},
                          {"x", 0},
                          {"y", 0},
                          {"width", screen.size.width()},
                          {"height", screen.size.height()},
                          {"logicalDpi", screen.dpi},
                          {"logicalBaseDpi", 96},
                          {"dpr", 1.0}};
    if (!config.open(QIODevice::WriteOnly) ||
        config.write(QJsonDocument(QJsonObject{{"screens", QJsonArray{one}}}).toJson()) < 0)
        return {};
    config.close();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"),
               QStringLiteral("offscreen:configfile=") + config.fileName());
    env.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::fromLatin1(screen.scale));
    for (const char *other : {"QT_SCREEN_SCALE_FACTORS", "QT_FONT_DPI", "QT_USE_PHYSICAL_DPI",
                              "QT_ENABLE_HIGHDPI_SCALING", "QT_SCALE_FACTOR_ROUNDING_POLICY"})
        env.remove(QString::fromLatin1(other));
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QCoreApplication::applicationFilePath(),
                  {QStringLiteral("--gtest_also_run_disabled_tests"),
                   QStringLiteral("--gtest_filter=ScaledScreen.") + QString::fromLatin1(test)});
    if (!process.waitForFinished(120000)) process.kill();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAll())};
}

// What the child printed after "measured: ".
QJsonObject Measured(const ChildRun &child) {
    for (const QString &line : child.output.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("measured: ")))
            return QJsonDocument::fromJson(line.mid(10).toUtf8()).object();
    return {};
}

QRect RectOf(const QJsonValue &v) {
    const QJsonArray a = v.toArray();
    return QRect(a[0].toInt(), a[1].toInt(), a[2].toInt(), a[3].toInt());
}
QJsonArray Json(const QRect &r) {
    return {r.x(), r.y(), r.width(), r.height()};
}

const Screen kScreens[] = {
    {"scale 1 on 1024 x 768", "1", 96, {1024, 768}, 1.0},
    {"scale 1.25 on 1024 x 768", "1.25", 96, {1024, 768}, 1.25},
    {"scale 1.5 on 1024 x 768", "1.5", 96, {1024, 768}, 1.5},
    {"scale 1.5 on 1280 x 720", "1.5", 96, {1280, 720}, 1.5},
    {"scale 2 on 1280 x 1024", "2", 96, {1280, 1024}, 2.0},
    {"font DPI 120 on 1024 x 768", "1", 120, {1024, 768}, 1.25},
    {"font DPI 144 on 1024 x 768", "1", 144, {1024, 768}, 1.5},
    {"font DPI 192 on 1280 x 1024", "1", 192, {1280, 1024}, 2.0},
};
} // namespace

// Child: the window as placed on the screen, in logical pixels.
TEST(ScaledScreen, DISABLED_WindowAsPlaced) {
    MainWindowHarness h(QStringLiteral("/EMPTYLOAD"));
    h.window->Load();
    h.window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(h.window.get()));
    QApplication::processEvents();
    const QMenuBar *menu = h.window->menuBar();
    const QJsonObject measured{
        {"frame", Json(h.window->frameGeometry())},
        {"available", Json(h.window->screen()->availableGeometry())},
        {"client", Json(h.window->centralWidget()->geometry())},
        {"menu", Json(QRect(menu->mapToGlobal(QPoint(0, 0)), menu->size()))},
        {"ratio", h.window->devicePixelRatioF()},
    };
    std::printf("measured: %s\n", QJsonDocument(measured).toJson(QJsonDocument::Compact).constData());
}

TEST(ScaledScreens, TheWindowKeepsItsSizeAndIsCentredWhereItFitsElseItsCornerIsOnTheScreen) {
    int notAcross = 0, notDown = 0;
    for (const Screen &screen : kScreens) {
        SCOPED_TRACE(screen.what);
        const ChildRun child = RunOn(screen, "DISABLED_WindowAsPlaced");
        const QJsonObject m = Measured(child);
        ASSERT_FALSE(m.isEmpty()) << child.output.toStdString();
        const QRect frame = RectOf(m["frame"]), screenArea = RectOf(m["available"]);
        EXPECT_DOUBLE_EQ(m["ratio"].toDouble(), screen.pixelRatio);
        // The available area is the screen in logical pixels.
        EXPECT_EQ(screenArea.size(), (QSizeF(screen.size) / screen.pixelRatio).toSize());
        // The fixed size as designed (10560 x 7200 twips at 96 dpi), whatever the scale.
        EXPECT_EQ(RectOf(m["client"]).size(), QSize(704, 480));
        // Each axis: centred where the frame fits, else from the edge where the title bar and the
        // menu start.
        const auto place = [](int start, int available, int at, int length) {
            if (length <= available) return std::abs((at + length / 2) - (start + available / 2)) <= 1;
            return at == start;
        };
        EXPECT_TRUE(place(screenArea.x(), screenArea.width(), frame.x(), frame.width())) << frame.x();
        EXPECT_TRUE(place(screenArea.y(), screenArea.height(), frame.y(), frame.height())) << frame.y();
        notAcross += frame.width() > screenArea.width();
        notDown += frame.height() > screenArea.height();
        EXPECT_TRUE(screenArea.contains(frame.topLeft()));
        const QRect menu = RectOf(m["menu"]);
        EXPECT_TRUE(screenArea.contains(menu.topLeft())) << menu.x() << "," << menu.y();
    }
    // Both rules were met: screens too narrow and too low for the window.
    EXPECT_GE(notAcross, 3);
    EXPECT_GE(notDown, 1);
}

namespace {
// The pixels of `device` within `area` (logical pixels) at `ratio` that have none of `colours`.
int ForeignPixels(const QImage &device, const QRect &area, double ratio, const std::set<QRgb> &colours) {
    const QRect inDevice(area.topLeft() * ratio, area.size() * ratio);
    int foreign = 0;
    for (int y = inDevice.top(); y <= inDevice.bottom(); ++y)
        for (int x = inDevice.left(); x <= inDevice.right(); ++x)
            foreign += colours.count(device.pixel(x, y)) == 0;
    return foreign;
}

std::set<QRgb> ColoursOf(const QImage &image, const QRect &area) {
    std::set<QRgb> colours;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            colours.insert(image.pixel(x, y));
    return colours;
}

QImage OnScreen(QWidget *widget) {
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}
} // namespace

// Child: pictures clicked in the tree, each as the screen shows it (device pixels) against the
// display's own image of it (logical pixels). Where the picture lies, every device pixel is a
// pixel of the picture or of the display's face: nothing smoothed. At a whole ratio each logical
// pixel is a square of whole device pixels: the nearest-neighbour enlargement. The tree's icons
// likewise show only their own colours over the tree's background.
TEST(ScaledScreen, DISABLED_PicturesAsDrawn) {
    MainWindowHarness h(QStringLiteral("/EMPTYLOAD"));
    FrmMain &w = *h.window;
    w.Load();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    h.ui.openAnswers.push_back(FixturePath(QStringLiteral("pictures32.dll")));
    w.MnuOpenFile_Click();
    const double ratio = w.devicePixelRatioF();
    const QString bitmaps = QStringLiteral("Точечный рисунок");
    const QString icons = QStringLiteral("Аппаратно-независимый ресурс иконки");
    const std::pair<QString, QString> pictures[] = {
        {bitmaps, QStringLiteral("109")}, // 24 bits, a colour per pixel
        {bitmaps, QStringLiteral("101")}, // 1 bit
        {icons, QStringLiteral("1")},     // alpha over the face
        {icons, QStringLiteral("MONO")},  // masks, inverting the face
        {QStringLiteral("Аппаратно-независимый ресурс курсора"), QStringLiteral("1")},
    };
    for (const auto &[type, name] : pictures) {
        SCOPED_TRACE((type + QLatin1Char('/') + name).toStdString());
        QModelIndex node = h.Name(type, name);
        ASSERT_TRUE(node.isValid());
        w.NodeClick(node);
        const QImage logical = w.PDisplay->Snapshot();
        const QImage device = OnScreen(w.PDisplay);
        ASSERT_EQ(device.size(), (QSizeF(logical.size()) * ratio).toSize());
        // The picture lies in the middle, below the printed lines.
        const QColor face = w.PDisplay->palette().color(QPalette::Button);
        QRect drawn;
        for (int y = logical.height() / 3; y < logical.height(); ++y)
            for (int x = 0; x < logical.width(); ++x)
                if (logical.pixelColor(x, y) != face) drawn |= QRect(x, y, 1, 1);
        ASSERT_FALSE(drawn.isEmpty());
        const QRect around = drawn.adjusted(-2, -2, 2, 2);
        if (ratio == std::floor(ratio)) {
            const QRect deviceAround(around.topLeft() * ratio, around.size() * ratio);
            EXPECT_EQ(device.copy(deviceAround),
                      logical.copy(around).scaled(deviceAround.size(), Qt::IgnoreAspectRatio,
                                                  Qt::FastTransformation));
        }
        EXPECT_EQ(ForeignPixels(device, around, ratio, ColoursOf(logical, around)), 0);
    }
    // A type's folder: the icon's own pixels over the tree's background, at the row's start.
    QTreeView *tree = w.TVResources;
    const QRect row = tree->visualRect(h.Type(bitmaps));
    QImage icon(16, 16, QImage::Format_RGB32);
    icon.fill(tree->viewport()->palette().color(QPalette::Base));
    QPainter(&icon).drawImage(0, 0, ILResourcesImage(TreeImage::Type));
    const std::set<QRgb> iconColours = ColoursOf(icon, icon.rect());
    const QRect start(row.left(), row.top(), 20, row.height());
    const QImage treeShown = OnScreen(tree->viewport());
    EXPECT_EQ(ForeignPixels(treeShown, start, ratio, iconColours), 0);
    EXPECT_GT(ColoursOf(treeShown, QRect(start.topLeft() * ratio, start.size() * ratio)).size(), 3u);
}

TEST(ScaledScreens, PicturesAreDrawnWithWholePixelsNeverSmoothed) {
    for (const Screen &screen : kScreens) {
        SCOPED_TRACE(screen.what);
        const ChildRun child = RunOn(screen, "DISABLED_PicturesAsDrawn");
        EXPECT_EQ(child.exitCode, 0) << child.output.toStdString();
        EXPECT_TRUE(child.output.contains(QLatin1String("[  PASSED  ] 1 test")))
            << child.output.toStdString();
    }
}
