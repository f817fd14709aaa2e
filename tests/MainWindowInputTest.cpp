// The main window driven as a person drives it: keys sent to the focused window, mouse buttons on
// the tree's nodes, a file dropped from the desktop, the pointer resting on a node, the display
// scrolled by its keys, its bars and the wheel, and where the window first appears.
#include "MainWindowHarness.h"
#include "app/ResourceTreeView.h"
#include "fixtures/gen/PicturePattern.h"
#include "views/display/DisplayBox.h"
#include "views/display/TextBox.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QScrollBar>
#include <QStyleHints>
#include <QTest>
#include <QTextDocument>
#include <QToolTip>
#include <QUrl>
#include <algorithm>
#include <gtest/gtest.h>

namespace {
// A main window on screen with the focus, over the tree fixture as its system library.
class ShownWindow : public testing::Test {
protected:
    void SetUp() override { Show(QString()); }
    void Show(const QString &arguments) {
        h = std::make_unique<MainWindowHarness>(arguments);
        w().Load();
        w().show();
        w().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w()));
    }
    FrmMain &w() { return *h->window; }
    QWidget *tree() { return w().TVResources->viewport(); }

    // Where a person clicks a node: on its text, once its type is open.
    QPoint At(QModelIndex node) {
        if (node.parent().isValid()) w().TVResources->expand(node.parent());
        QRect r = w().TVResources->visualRect(node);
        if (r.top() < 0 || r.bottom() >= tree()->height()) {
            w().TVResources->scrollTo(node);
            r = w().TVResources->visualRect(node);
        }
        return QPoint(std::clamp(r.left() + 24, 2, tree()->width() - 3), r.center().y());
    }
    void LeftClick(QModelIndex node) { QTest::mouseClick(tree(), Qt::LeftButton, {}, At(node)); }
    // A picture larger than the display both ways.
    void ShowBigPicture() {
        h->ui.openAnswers.push_back(FixturePath(QStringLiteral("pictures32.dll")));
        w().MnuOpenFile_Click();
        LeftClick(h->Name(QStringLiteral("Точечный рисунок"), QStringLiteral("BIG")));
        ASSERT_TRUE(w().HScroll->isEnabled() && w().VScroll->isEnabled());
    }
    // The wheel turned, or a touchpad swiped, with the pointer over the middle of what is seen of
    // a widget; true when the widget took it.
    static bool SendWheel(QWidget *over, QPoint angle, QPoint pixels = {}, Qt::KeyboardModifiers keys = {}) {
        const QPointF at = over->visibleRegion().boundingRect().center();
        QWheelEvent event(at, over->mapToGlobal(at), pixels, angle, Qt::NoButton, keys,
                          pixels.isNull() ? Qt::NoScrollPhase : Qt::ScrollUpdate, false);
        QApplication::sendEvent(over, &event);
        return event.isAccepted();
    }

    // The node the tree highlights agrees with the resource on show: its header names it and
    // the save command would write it.
    void ExpectHighlightIsShown(const char *step) {
        const QModelIndex current = w().TVResources->currentIndex();
        ASSERT_TRUE(current.isValid()) << step;
        const QString header = w().LInformation->text();
        if (!current.parent().isValid()) {
            EXPECT_TRUE(header.isEmpty()) << step;
        } else if (!current.parent().parent().isValid()) {
            EXPECT_TRUE(header.endsWith(QStringLiteral("Тип ресурса: ") + Text(current))) << step;
            EXPECT_TRUE(w().SelectedName.isEmpty()) << step;
        } else {
            EXPECT_TRUE(
                header.contains(QStringLiteral("Имя ресурса: ") + Text(current) + QStringLiteral("\r\n")))
                << step << ": " << header.toStdString();
            EXPECT_TRUE(w().SelectedName.endsWith(Text(current))) << step;
        }
    }

    std::unique_ptr<MainWindowHarness> h;
};

// Counts the events of one type that reach a widget.
class EventCounter : public QObject {
public:
    EventCounter(QObject *watched, QEvent::Type type, int &count) : type_(type), count_(count) {
        watched->installEventFilter(this);
    }
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == type_) ++count_;
        return false;
    }

private:
    QEvent::Type type_;
    int &count_;
};

const QString kRcData = QStringLiteral("Определяемый приложением ресурс");
} // namespace

TEST_F(ShownWindow, ShortcutsWorkAfterAMenuIsClosedWithEscOrAltIsPressedAlone) {
    // Each way the person may have used the keyboard before pressing Ctrl+O.
    const std::vector<std::pair<const char *, std::function<void()>>> before{
        {"nothing", [] {}},
        {"File menu closed with Esc",
         [this] {
             QMenuBar *bar = w().menuBar();
             QTest::mouseClick(bar, Qt::LeftButton, {},
                               bar->actionGeometry(w().MnuFile->menuAction()).center());
             ASSERT_TRUE(QTest::qWaitForWindowExposed(w().MnuFile));
             QTest::keyClick(w().MnuFile, Qt::Key_Escape);
             ASSERT_FALSE(w().MnuFile->isVisible());
         }},
        {"Alt alone", [] { QTest::keyClick(static_cast<QWidget *>(nullptr), Qt::Key_Alt); }},
        {"Alt alone twice",
         [] {
             QTest::keyClick(static_cast<QWidget *>(nullptr), Qt::Key_Alt);
             QTest::keyClick(static_cast<QWidget *>(nullptr), Qt::Key_Alt);
         }},
    };
    for (const auto &[name, step] : before) {
        const std::size_t opened = h->ui.openDialogs.size();
        step();
        h->ui.openAnswers.push_back(QString()); // the person cancels the dialog
        QTest::keyClick(static_cast<QWidget *>(nullptr), Qt::Key_O, Qt::ControlModifier);
        EXPECT_EQ(h->ui.openDialogs.size(), opened + 1) << name;
    }
}

TEST_F(ShownWindow, ShortcutsFollowTheEnablingRulesWhenTheyArePressed) {
    // With nothing selected the File menu's rule turns Save off...
    QMenuBar *bar = w().menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(w().MnuFile->menuAction()).center());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w().MnuFile));
    EXPECT_FALSE(w().MnuSaveResource->isEnabled());
    QTest::keyClick(w().MnuFile, Qt::Key_Escape);
    // ...and a resource clicked afterwards makes Ctrl+S save it: the rule runs before the key acts.
    LeftClick(h->Name(kRcData, QStringLiteral("ONEBYTE")));
    h->ui.saveAnswers.push_back(QString());
    QTest::keyClick(static_cast<QWidget *>(nullptr), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(h->ui.saveDialogs.size(), 1u);
    // Ctrl+R resets the tree: only the root is highlighted.
    QTest::keyClick(static_cast<QWidget *>(nullptr), Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(w().TVResources->currentIndex(), h->Root());
    EXPECT_TRUE(w().SelectedName.isEmpty());
}

TEST(Shortcuts, KeyOfADisabledItemDoesNothing) {
    // Under /DISABLESAVE Ctrl+S never saves; on an empty tree Ctrl+R never resets.
    MainWindowHarness h(QStringLiteral("/DISABLESAVE /EMPTYLOAD"));
    FrmMain &w = *h.window;
    w.Load();
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    int resets = 0;
    QObject::connect(w.MnuReset, &QAction::triggered, [&] { ++resets; });
    w.SelectedType = QStringLiteral("6");
    QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(&w, Qt::Key_R, Qt::ControlModifier);
    EXPECT_TRUE(h.ui.saveDialogs.empty());
    EXPECT_EQ(resets, 0);
    // Once a file is open the same key resets.
    h.ui.openAnswers.push_back(FixturePath(QStringLiteral("tree32.dll")));
    QTest::keyClick(&w, Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(&w, Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(resets, 1);
}

TEST_F(ShownWindow, OnlyTheLeftButtonMovesTheHighlightAndItAlwaysShowsWhatItHighlights) {
    QModelIndex shown = h->Name(kRcData, QStringLiteral("ONEBYTE"));
    QModelIndex other = h->Name(kRcData, QStringLiteral("123"));
    QModelIndex third = h->Name(kRcData, QStringLiteral("EMPTY"));
    ASSERT_TRUE(shown.isValid() && other.isValid() && third.isValid());
    const std::vector<std::pair<const char *, std::function<void()>>> gestures{
        {"right click", [&] { QTest::mouseClick(tree(), Qt::RightButton, {}, At(other)); }},
        {"middle click", [&] { QTest::mouseClick(tree(), Qt::MiddleButton, {}, At(other)); }},
        {"right double click", [&] { QTest::mouseDClick(tree(), Qt::RightButton, {}, At(other)); }},
        {"left press dragged to another node",
         [&] {
             QTest::mousePress(tree(), Qt::LeftButton, {}, At(other));
             QTest::mouseMove(tree(), At(third));
             QTest::mouseRelease(tree(), Qt::LeftButton, {}, At(third));
         }},
        {"left press released below the nodes",
         [&] {
             QTest::mousePress(tree(), Qt::LeftButton, {}, At(other));
             QTest::mouseRelease(tree(), Qt::LeftButton, {}, QPoint(5, tree()->height() - 3));
         }},
    };
    for (const auto &[name, gesture] : gestures) {
        LeftClick(shown);
        ASSERT_TRUE(w().LInformation->text().contains(QStringLiteral("ONEBYTE"))) << name;
        gesture();
        ExpectHighlightIsShown(name);
    }
    // The other buttons leave the highlight where it was.
    LeftClick(shown);
    QTest::mouseClick(tree(), Qt::RightButton, {}, At(other));
    EXPECT_EQ(w().TVResources->currentIndex(), shown);
}

TEST_F(ShownWindow, AFileDroppedOnTheWindowOpensAsFileOpenWouldOpenIt) {
    LeftClick(h->Name(kRcData, QStringLiteral("ONEBYTE")));
    TempFiles files;
    const QString folder = files.path();
    const QString dll = files.Write(QStringLiteral("dropped.dll"),
                                    ReadFileBytes(FixturePath(QStringLiteral("pictures32.dll"))));
    // The desktop's drag and drop delivers the events to the widget under the pointer.
    auto drop = [this](QWidget *target, const QList<QUrl> &urls) {
        QMimeData data;
        data.setUrls(urls);
        const QPoint at = target->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        if (!enter.isAccepted()) return false;
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &dropped);
        QApplication::processEvents();
        return dropped.isAccepted();
    };
    // A folder, two files at once or a remote file are not taken.
    EXPECT_FALSE(drop(tree(), {QUrl::fromLocalFile(folder)}));
    EXPECT_FALSE(drop(tree(), {QUrl::fromLocalFile(dll), QUrl::fromLocalFile(dll)}));
    EXPECT_FALSE(drop(tree(), {QUrl(QStringLiteral("https://example.org/a.dll"))}));
    EXPECT_EQ(w().windowTitle(), QStringLiteral("Shell32.dll - Зорвика"));
    // One file, dropped on the tree or on the display: opened as the open dialog would have
    // opened it, without the dialog; the selection and the display start afresh.
    const QString again =
        files.Write(QStringLiteral("again.dll"), ReadFileBytes(FixturePath(QStringLiteral("tree32.dll"))));
    const std::vector<std::pair<QWidget *, QString>> drops{{tree(), dll}, {w().PDisplay, again}};
    for (const auto &[target, path] : drops) {
        LeftClick(h->Root());
        LeftClick(Child(h->Root(), 0));
        ASSERT_FALSE(w().LInformation->text().isEmpty());
        EXPECT_TRUE(drop(target, {QUrl::fromLocalFile(path)})) << path.toStdString();
        const QString name = QFileInfo(path).fileName();
        EXPECT_EQ(w().windowTitle(), name + QStringLiteral(" - Зорвика"));
        EXPECT_EQ(Text(h->Root()), name);
        EXPECT_GT(Rows(h->Root()), 0);
        EXPECT_TRUE(w().SelectedType.isEmpty());
        EXPECT_TRUE(w().LInformation->text().isEmpty());
    }
    EXPECT_TRUE(h->ui.openDialogs.empty());
    EXPECT_TRUE(h->ui.messages.empty());
}

TEST_F(ShownWindow, ANodeCutOffByTheTreesWidthShowsItsWholeTextAsWrittenWhenThePointerRestsOnIt) {
    h->ui.openAnswers.push_back(FixturePath(QStringLiteral("longnames64.dll")));
    w().MnuOpenFile_Click();
    QModelIndex type = h->Type(kRcData);
    ASSERT_TRUE(type.isValid());
    w().Expand(type);
    QModelIndex longName, shortName;
    for (int i = 0; i < Rows(type); ++i)
        (Text(Child(type, i)).startsWith(QLatin1Char('<')) ? longName : shortName) = Child(type, i);
    ASSERT_TRUE(longName.isValid() && shortName.isValid());
    // What the pointer resting on a node shows, if anything, read as the tooltip draws it.
    int tipEvents = 0;
    EventCounter counter(tree(), QEvent::ToolTip, tipEvents);
    auto hover = [&](QModelIndex node) -> QString {
        QToolTip::hideText();
        EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));
        const int before = tipEvents;
        QTest::mouseMove(tree(), At(node) + QPoint(1, 0));
        QTest::mouseMove(tree(), At(node));
        EXPECT_TRUE(QTest::qWaitFor([&] { return tipEvents > before; }));
        if (!QToolTip::isVisible()) return {};
        const QString tip = QToolTip::text();
        if (!Qt::mightBeRichText(tip)) return tip;
        QTextDocument document;
        document.setHtml(tip);
        return document.toPlainText();
    };
    EXPECT_EQ(hover(longName), Text(longName));
    EXPECT_EQ(Text(longName), QStringLiteral("<B>X</B> IS A NAME FAR TOO LONG FOR THE TREE TO SHOW WHOLE"));
    EXPECT_TRUE(hover(shortName).isEmpty());
    // Scrolled to its end, the long name is cut off at its start instead.
    w().TVResources->horizontalScrollBar()->setValue(w().TVResources->horizontalScrollBar()->maximum());
    EXPECT_EQ(hover(longName), Text(longName));
}

TEST_F(ShownWindow, TheDisplayScrollsByItsKeysAsClicksOnTheScrollBarsWould) {
    ShowBigPicture();
    QScrollBar &across = *w().HScroll, &down = *w().VScroll;
    // The person clicks the picture to give it the keyboard.
    QTest::mouseClick(w().PDisplay, Qt::LeftButton, {}, QPoint(200, 200));
    ASSERT_TRUE(w().PDisplay->hasFocus());
    // A page is what the display shows less a little, so that the edge of one page stays in sight
    // on the next; the display is seen up to where the bars begin.
    const int page = down.pageStep(), pageAcross = across.pageStep();
    const QSize visible(w().VScroll->x(), w().HScroll->y());
    EXPECT_LT(page, visible.height());
    EXPECT_GE(page, visible.height() * 9 / 10);
    EXPECT_LT(pageAcross, visible.width());
    EXPECT_GE(pageAcross, visible.width() * 9 / 10);
    ASSERT_GT(down.maximum(), page + 1);
    struct Step {
        Qt::Key key;
        int across, down;
    };
    const Step steps[] = {
        {Qt::Key_Right, 1, 0},
        {Qt::Key_Right, 2, 0},
        {Qt::Key_Left, 1, 0},
        {Qt::Key_Down, 1, 1},
        {Qt::Key_PageDown, 1, 1 + page},
        {Qt::Key_Up, 1, page},
        {Qt::Key_PageUp, 1, 0},
        {Qt::Key_PageUp, 1, 0},
        {Qt::Key_End, 1, down.maximum()},
        {Qt::Key_Home, 1, 0},
        {Qt::Key_Left, 0, 0},
        {Qt::Key_Left, 0, 0},
    };
    for (const Step &step : steps) {
        QTest::keyClick(w().PDisplay, step.key);
        EXPECT_EQ(across.value(), step.across) << step.key;
        EXPECT_EQ(down.value(), step.down) << step.key;
        EXPECT_EQ(w().PDisplay->pos(), QPoint(-step.across, -step.down)) << step.key;
    }
    // A click in a bar's track moves as far as the page keys, and the keyboard stays on the display.
    const std::tuple<QScrollBar *, QPoint, QPoint> clicks[] = {
        {&down, QPoint(down.width() / 2, down.height() * 3 / 4), QPoint(0, page)},
        {&across, QPoint(across.width() * 3 / 4, across.height() / 2), QPoint(pageAcross, page)},
        {&down, QPoint(down.width() / 2, down.height() / 4), QPoint(pageAcross, 0)},
    };
    for (const auto &[bar, at, expected] : clicks) {
        QTest::mouseClick(bar, Qt::LeftButton, {}, at);
        EXPECT_EQ(QPoint(across.value(), down.value()), expected);
        EXPECT_EQ(w().PDisplay->pos(), -expected);
        EXPECT_TRUE(w().PDisplay->hasFocus());
    }
    // A picture smaller than the display: the keys move nothing.
    LeftClick(h->Name(QStringLiteral("Аппаратно-независимый ресурс иконки"), QStringLiteral("1")));
    QTest::mouseClick(w().PDisplay, Qt::LeftButton, {}, QPoint(10, 10));
    for (Qt::Key key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_PageDown, Qt::Key_End})
        QTest::keyClick(w().PDisplay, key);
    EXPECT_EQ(w().PDisplay->pos(), QPoint(0, 0));
}

TEST_F(ShownWindow, TheWheelMovesThePictureByLinesAndATouchpadByItsPixels) {
    ShowBigPicture();
    QScrollBar &across = *w().HScroll, &down = *w().VScroll;
    // A notch is three of the lines the display prints.
    ASSERT_EQ(QGuiApplication::styleHints()->wheelScrollLines(), 3);
    const int notch = 3 * QFontMetrics(w().PDisplay->font()).height();
    struct Turn {
        const char *what;
        QWidget *over;
        QPoint angle, pixels;
        Qt::KeyboardModifiers keys;
        int times;
        QPoint moved;
    };
    const Turn turns[] = {
        {"a notch toward the person", w().PDisplay, {0, -120}, {}, {}, 1, {0, notch}},
        {"a notch away", w().PDisplay, {0, 120}, {}, {}, 1, {0, -notch}},
        {"with Shift", w().PDisplay, {0, -120}, {}, Qt::ShiftModifier, 1, {notch, 0}},
        {"tilted right", w().PDisplay, {-120, 0}, {}, {}, 1, {notch, 0}},
        {"tilted left", w().PDisplay, {120, 0}, {}, {}, 1, {-notch, 0}},
        {"eighths of a notch", w().PDisplay, {0, -15}, {}, {}, 8, {0, notch}},
        {"a touchpad's swipe", w().PDisplay, {24, -96}, {3, -12}, {}, 1, {-3, 12}},
        {"over the vertical bar", w().VScroll, {0, -120}, {}, {}, 1, {0, notch}},
        {"over the horizontal bar", w().HScroll, {0, -120}, {}, {}, 1, {notch, 0}},
    };
    const QPoint start(100, 100);
    for (const Turn &turn : turns) {
        across.setValue(start.x());
        down.setValue(start.y());
        for (int i = 0; i < turn.times; ++i)
            EXPECT_TRUE(SendWheel(turn.over, turn.angle, turn.pixels, turn.keys)) << turn.what;
        EXPECT_EQ(QPoint(across.value(), down.value()), start + turn.moved) << turn.what;
        EXPECT_EQ(w().PDisplay->pos(), -(start + turn.moved)) << turn.what;
    }
    // The bars keep their pixels: the ends stop the wheel.
    down.setValue(down.maximum());
    SendWheel(w().PDisplay, {0, -120});
    EXPECT_EQ(down.value(), down.maximum());
    // What the frame shows is the picture from the scrolled place.
    const QImage shown = w().PFrame->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage picture = w().PDisplay->Snapshot();
    const QPoint origin = w().PDisplay->parentWidget()->mapTo(w().PFrame, QPoint(0, 0));
    const QPoint scrolled(across.value(), down.value());
    EXPECT_EQ(shown.copy(QRect(origin + QPoint(50, 50), QSize(64, 64))),
              picture.copy(QRect(scrolled + QPoint(50, 50), QSize(64, 64))));

    // The text pane scrolls its own lines, as before.
    w().ClearDisplay();
    QStringList lines;
    for (int i = 0; i < 200; ++i)
        lines << QString::number(i);
    w().TStrings->setText(lines.join(QStringLiteral("\r\n")));
    w().TStrings->show();
    SendWheel(w().TStrings->viewport(), {0, -120});
    EXPECT_EQ(w().TStrings->verticalScrollBar()->value(), 3);
}

TEST(WindowPlace, TheWindowIsCentredOnTheScreenWithItsFrame) {
    MainWindowHarness h(QStringLiteral("/EMPTYLOAD"));
    h.window->Load();
    h.window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(h.window.get()));
    QApplication::processEvents();
    const QRect frame = h.window->frameGeometry();
    // The test means something only where the platform gives the window a frame.
    ASSERT_NE(frame.size(), h.window->size());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE(std::abs(frame.center().x() - screen.center().x()), 1) << frame.x();
    EXPECT_LE(std::abs(frame.center().y() - screen.center().y()), 1) << frame.y();
}

TEST_F(ShownWindow, MonochromeIconsAndCursorsInvertTheDisplayUnderTheirMaskedWhitePixels) {
    h->ui.openAnswers.push_back(FixturePath(QStringLiteral("pictures64.dll")));
    w().MnuOpenFile_Click();
    for (const QString &type : {QStringLiteral("Аппаратно-независимый ресурс иконки"),
                                QStringLiteral("Аппаратно-независимый ресурс курсора")}) {
        LeftClick(h->Name(type, QStringLiteral("MONO")));
        ASSERT_TRUE(w().PDisplay->printedLines().contains(QStringLiteral("Размер: 32 x 32")));
        const QImage shot = w().PDisplay->grab().toImage();
        // Drawn in the middle of the display, over its face colour.
        const QPoint corner(w().PDisplay->width() / 2 - kMonoSize / 2,
                            w().PDisplay->height() / 2 - kMonoSize / 2);
        const QColor face = w().PDisplay->palette().color(QPalette::Button);
        const int q = kMonoSize / 4;
        auto pixel = [&](int x, int y) { return QColor(shot.pixel(corner + QPoint(x, y))); };
        EXPECT_EQ(pixel(q, q), QColor(Qt::black)) << type.toStdString();
        EXPECT_EQ(pixel(3 * q, q), QColor(Qt::white)) << type.toStdString();
        EXPECT_EQ(pixel(q, 3 * q), face) << type.toStdString();
        EXPECT_EQ(pixel(3 * q, 3 * q), QColor(255 - face.red(), 255 - face.green(), 255 - face.blue()))
            << type.toStdString();
    }
}
