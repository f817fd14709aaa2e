// The display area: the picture view and its three lines, the scroll bars that follow the size
// of PDisplay, clearing, focus, the text pane's rules and the text box's middle button.
#include "MainWindowHarness.h"
#include "app/ResourceTreeView.h"
#include "imaging/RasterPicture.h"
#include "system/ErrorReport.h"
#include "views/display/DisplayBox.h"
#include "views/display/PaneFonts.h"
#include "views/display/PictureView.h"
#include "views/display/TStringsWndProc.h"
#include "views/display/TextBox.h"
#include "views/display/TextView.h"

#include <QApplication>
#include <QClipboard>
#include <QFrame>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {
std::shared_ptr<RasterPicture> Solid(int width, int height, int type = Picture::Bitmap,
                                     QColor colour = Qt::red) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(colour);
    return std::make_shared<RasterPicture>(image, type);
}

// The display box as it would appear on screen.
QImage Shot(QWidget *w) {
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

class DisplayAreaTest : public testing::Test {
protected:
    void SetUp() override {
        h.window->Load();
        h.window->show();
        QApplication::processEvents();
    }
    FrmMain &w() { return *h.window; }
    MainWindowHarness h{QStringLiteral("/EMPTYLOAD")};
};

// Counts events of one kind and button that reach an object.
class PressSpy : public QObject {
public:
    int presses = 0; // middle-button presses at the client point (0, 0)
    bool eventFilter(QObject *, QEvent *e) override {
        if (e->type() == QEvent::MouseButtonPress &&
            static_cast<QMouseEvent *>(e)->button() == Qt::MiddleButton &&
            static_cast<QMouseEvent *>(e)->position().toPoint() == QPoint(0, 0))
            ++presses;
        return false;
    }
};
} // namespace

TEST_F(DisplayAreaTest, SmallIconIsCentredWithItsThreeLines) {
    EXPECT_EQ(w().Session.viewport.width, 6540);
    EXPECT_EQ(w().Session.viewport.height, 4980);
    auto icon = Solid(16, 16, Picture::Icon);
    ASSERT_TRUE(ShowPicture(icon, *w().PDisplay, w().Session.viewport));
    EXPECT_EQ(w().PDisplay->geometry(), QRect(0, 0, 436, 332));
    EXPECT_FALSE(w().HScroll->isEnabled());
    EXPECT_FALSE(w().VScroll->isEnabled());
    EXPECT_EQ(w().PDisplay->printedLines(),
              (QStringList{QStringLiteral("Информация о рисунке:"), QString(),
                           QStringLiteral("Тип: Иконка или курсор"), QStringLiteral("Размер: 16 x 16")}));
    EXPECT_TRUE(icon->released());
    // Drawn in the middle: (6540 \ 2 - 240 \ 2) twips = 210 px across, (4980 \ 2 - 120) = 158 px down.
    const QImage shot = Shot(w().PDisplay);
    EXPECT_EQ(shot.pixelColor(210, 158), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(225, 173), QColor(Qt::red));
    EXPECT_NE(shot.pixelColor(209, 158), QColor(Qt::red));
    EXPECT_NE(shot.pixelColor(226, 174), QColor(Qt::red));
    EXPECT_FALSE(ShowPicture(nullptr, *w().PDisplay, w().Session.viewport));
}

TEST_F(DisplayAreaTest, ScrollBarsFollowTheSizeOfTheBox) {
    // Exactly as wide as the visible area: no horizontal bar.
    ShowPicture(Solid(436, 100), *w().PDisplay, w().Session.viewport);
    EXPECT_FALSE(w().HScroll->isEnabled());
    // Ten pixels (150 twips) wider: maximum 10.
    ShowPicture(Solid(446, 100), *w().PDisplay, w().Session.viewport);
    EXPECT_TRUE(w().HScroll->isEnabled());
    EXPECT_EQ(w().HScroll->maximum(), 10);
    EXPECT_FALSE(w().VScroll->isEnabled());
    EXPECT_EQ(w().PDisplay->printedLines().at(2),
              QStringLiteral("Тип: Точечный рисунок или рисунок в аналогичном формате"));

    // Larger both ways: drawn from the top-left corner; the bottom-right corner scrolls into view.
    QImage image(1000, 800, QImage::Format_ARGB32);
    image.fill(Qt::blue);
    image.setPixelColor(999, 799, Qt::green);
    ShowPicture(std::make_shared<RasterPicture>(image, Picture::Bitmap), *w().PDisplay, w().Session.viewport);
    EXPECT_EQ(w().HScroll->maximum(), 1000 - 436);
    EXPECT_EQ(w().VScroll->maximum(), 800 - 332);
    EXPECT_EQ(w().HScroll->singleStep(), 1);
    // A page: the visible 436 pixels less a little overlap.
    EXPECT_LT(w().HScroll->pageStep(), 436);
    EXPECT_GE(w().HScroll->pageStep(), 436 * 9 / 10);
    w().HScroll->setValue(25);
    EXPECT_EQ(w().PDisplay->x(), -25); // -375 twips
    w().HScroll->setValue(w().HScroll->maximum());
    w().VScroll->setValue(w().VScroll->maximum());
    const QImage frame = Shot(w().PFrame);
    const QPoint corner = w().PDisplay->mapTo(w().PFrame, QPoint(999, 799));
    EXPECT_EQ(corner, w().PDisplay->parentWidget()->mapTo(w().PFrame, QPoint(435, 331)));
    EXPECT_EQ(frame.pixelColor(corner), QColor(Qt::green));
}

TEST_F(DisplayAreaTest, OverSizedPicturesAreAnOverflowBeforeAnythingChanges) {
    const QRect before = w().PDisplay->geometry();
    try {
        ShowPicture(Solid(40000, 2), *w().PDisplay, w().Session.viewport);
        FAIL() << "no failure";
    } catch (const ErrorReport &e) {
        EXPECT_EQ(e.code(), ErrorReport::Overflow);
    }
    EXPECT_EQ(w().PDisplay->geometry(), before);
}

TEST_F(DisplayAreaTest, ClearDisplayShrinksTheBoxAndHidesTheText) {
    ShowPicture(Solid(1000, 800), *w().PDisplay, w().Session.viewport);
    w().TStrings->show();
    w().TStrings->setText(QStringLiteral("x"));
    w().ClearDisplay();
    // Half the frame (6855 x 5295 twips), rounded to pixels half to even.
    EXPECT_EQ(w().PDisplay->size(), QSize(228, 176));
    EXPECT_FALSE(w().HScroll->isEnabled());
    EXPECT_FALSE(w().VScroll->isEnabled());
    EXPECT_TRUE(w().PDisplay->printedLines().isEmpty());
    EXPECT_FALSE(w().PDisplay->hasDrawings());
    EXPECT_FALSE(w().TStrings->isVisible());
    EXPECT_TRUE(w().TStrings->text().isEmpty());
}

TEST_F(DisplayAreaTest, ScrollBarsPassTheFocusOn) {
    QApplication::setActiveWindow(&w());
    w().TVResources->setFocus();
    ShowPicture(Solid(1000, 800), *w().PDisplay,
                w().Session.viewport); // a bar can take focus only while enabled
    QApplication::processEvents();
    ASSERT_TRUE(w().TVResources->hasFocus());
    w().HScroll->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    EXPECT_TRUE(w().PDisplay->hasFocus());
    EXPECT_FALSE(w().HScroll->hasFocus());
}

TEST_F(DisplayAreaTest, MiddleButtonOnTheTextReachesBothTheBoxAndTheWindow) {
    // A widget that counts the presses it handles itself, under the text box's event handling.
    struct Target : QWidget {
        int own = 0;
        void mousePressEvent(QMouseEvent *) override { ++own; }
    } target;
    TStringsWndProc proc(&w());
    target.installEventFilter(&proc);
    PressSpy window;
    w().installEventFilter(&window);
    QMouseEvent middle(QEvent::MouseButtonPress, QPointF(30, 40), QPointF(30, 40), Qt::MiddleButton,
                       Qt::MiddleButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &middle);
    EXPECT_EQ(target.own, 1);
    EXPECT_EQ(window.presses, 1);
    QMouseEvent left(QEvent::MouseButtonPress, QPointF(30, 40), QPointF(30, 40), Qt::LeftButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &left);
    EXPECT_EQ(target.own, 2);
    EXPECT_EQ(window.presses, 1);
    // The window installs the same handling on its own text box.
    QApplication::sendEvent(w().TStrings->viewport(), &middle);
    EXPECT_EQ(window.presses, 2);
    w().removeEventFilter(&window);
}

TEST_F(DisplayAreaTest, TextPaneRules) {
    TextBox &box = *w().TStrings;
    box.setText(QStringLiteral("before"));
    EXPECT_FALSE(ShowText(QString(), true, box, h.ui));
    EXPECT_EQ(box.text(), QStringLiteral("before"));
    EXPECT_TRUE(ShowText(QString(65534, QLatin1Char('x')), false, box, h.ui));
    EXPECT_TRUE(h.ui.messages.empty());
    h.ui.answers = {MsgAnswer::No};
    EXPECT_FALSE(ShowText(QString(65535, QLatin1Char('y')), false, box, h.ui));
    EXPECT_EQ(h.ui.messages.size(), 1u);
    EXPECT_EQ(box.text().size(), 65534);
    // The box keeps the text exactly; what a person copies has plain line breaks.
    ShowText(QStringLiteral("a\r\nb"), true, box, h.ui);
    EXPECT_EQ(box.text(), QStringLiteral("a\r\nb"));
    QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("a\nb"));

    DisplayBox &display = *w().PDisplay;
    w().ClearDisplay();
    EXPECT_FALSE(PrintMessage(QString(), display));
    EXPECT_FALSE(PrintMessage(QString(65535, QLatin1Char('z')), display));
    EXPECT_TRUE(PrintMessage(QStringLiteral("one"), display));
    EXPECT_TRUE(PrintMessage(QStringLiteral("two"), display));
    EXPECT_EQ(display.printedLines(), (QStringList{QStringLiteral("one"), QStringLiteral("two")}));
    EXPECT_EQ(display.printPosition().y(), 2 * QFontMetrics(display.font()).height());
}

TEST_F(DisplayAreaTest, TheTextPaneHasTheButtonFaceColour) {
    TextBox &box = *w().TStrings;
    box.show();
    ASSERT_TRUE(ShowText(QStringLiteral("x"), true, box, h.ui));
    QApplication::processEvents();
    const QColor face = box.palette().color(QPalette::Button);
    ASSERT_NE(face, box.palette().color(QPalette::Base));
    // Away from the one letter, inside the frame: the middle and near the far corner.
    const QImage shot = Shot(&box);
    const QRect inside = box.viewport()->geometry();
    for (const QPoint at : {inside.center(), inside.bottomRight() - QPoint(3, 3)})
        EXPECT_EQ(shot.pixelColor(at), face) << at.x() << "," << at.y();
}

TEST_F(DisplayAreaTest, AScrolledPictureShowsItsOwnPixelsWhereverItStands) {
    // Every pixel tells where it came from.
    QImage image(1500, 1200, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, (x / 256) * 16 + y / 256));
    ShowPicture(std::make_shared<RasterPicture>(image, Picture::Bitmap), *w().PDisplay, w().Session.viewport);
    for (const QPoint scroll : {QPoint(0, 0), QPoint(37, 11), QPoint(600, 400), QPoint(1064, 868)}) {
        w().HScroll->setValue(scroll.x());
        w().VScroll->setValue(scroll.y());
        ASSERT_EQ(w().PDisplay->pos(), -scroll);
        const QImage frame = Shot(w().PFrame);
        // A grid over the visible area, below the three printed lines.
        for (int y = 80; y < 332; y += 50)
            for (int x = 0; x < 436; x += 47) {
                const QPoint source = QPoint(x, y) + scroll;
                const QPoint shown = w().PDisplay->mapTo(w().PFrame, source);
                ASSERT_EQ(frame.pixelColor(shown), image.pixelColor(source))
                    << "scrolled " << scroll.x() << "," << scroll.y() << " at " << x << "," << y;
            }
    }
}

TEST_F(DisplayAreaTest, DrawingsAndPrintedLinesLieOverOneAnotherInTheirOrder) {
    // The box against the same steps painted on one image: text, a half-transparent picture over
    // it, an inverting drawing over both, more text.
    DisplayBox box;
    box.setFont(DesignFont());
    box.resize(200, 80);
    QImage half(60, 30, QImage::Format_ARGB32);
    half.fill(QColor(200, 0, 0, 128));
    const QRect area(30, 5, 60, 40);
    const auto invert = [](QPainter &p) {
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.fillRect(QRect(0, 0, 200, 80), Qt::white); // reaches only the area
    };
    box.Print(QStringLiteral("Печать под рисунком"));
    box.DrawImage(QPoint(10, 2), half);
    box.Draw(area, invert);
    box.Print(QStringLiteral("и над ним"));
    box.show();
    QApplication::processEvents();

    QImage expected(box.size(), QImage::Format_RGB32);
    expected.fill(box.palette().color(QPalette::Button));
    {
        QPainter p(&expected);
        const QFontMetrics m(box.font());
        p.setFont(box.font());
        p.setPen(box.palette().color(QPalette::ButtonText));
        p.drawText(0, m.ascent(), QStringLiteral("Печать под рисунком"));
        p.drawImage(QPoint(10, 2), half);
        p.save();
        p.setClipRect(area);
        invert(p);
        p.restore();
        p.drawText(0, m.height() + m.ascent(), QStringLiteral("и над ним"));
    }
    EXPECT_EQ(Shot(&box), expected);
    EXPECT_EQ(box.Snapshot(), expected);
    // An exposed part alone paints the same pixels there, and nothing else.
    const QRect part(35, 10, 20, 20);
    QImage partial(box.size(), QImage::Format_RGB32);
    partial.fill(Qt::black);
    box.render(&partial, part.topLeft(), QRegion(part));
    EXPECT_EQ(partial.copy(part), expected.copy(part));
    EXPECT_EQ(partial.pixelColor(part.topLeft() - QPoint(1, 1)), QColor(Qt::black));
}
