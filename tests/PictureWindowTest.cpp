// Pictures in the main window: a click on a picture resource shows it with its information
// lines, a large bitmap switches the scroll bars on, a file the loader refuses asks the error
// question. With ZORVIKA_SCREENSHOTS set to a
// folder, the window is saved there as PNG at each step, to be looked at.
#include "FakeUi.h"
#include "Fixtures.h"
#include "TreeNodes.h"
#include "app/FrmMain.h"
#include "system/Twips.h"
#include "views/display/DisplayBox.h"

#include <QFile>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace {
class PictureWindow : public testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<FrmMain>(ui, QStringLiteral("/EMPTYLOAD"));
        window->Load();
        window->show();
        ui.openAnswers.push_back(FixturePath(QStringLiteral("pictures64.dll")));
        window->MnuOpenFile_Click();
        ASSERT_EQ(window->TreeModel->rowCount(), 1);
    }
    void TearDown() override {
        window->close();
        window.reset();
    }

    QModelIndex Node(const QString &type, const QString &name) {
        return FindNameNode(
            *window, [&](const QModelIndex &node) { return TypeText(node) == type; }, name);
    }

    QStringList Click(const QString &type, const QString &name) {
        QModelIndex node = Node(type, name);
        if (!node.isValid()) throw std::runtime_error("no such node");
        window->NodeClick(node);
        return window->PDisplay->printedLines();
    }

    void Screenshot(const QString &name) {
        const QString dir = qEnvironmentVariable("ZORVIKA_SCREENSHOTS");
        if (dir.isEmpty()) return;
        window->grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
    }

    FakeUi ui;
    std::unique_ptr<FrmMain> window;
};
} // namespace

TEST_F(PictureWindow, AnIconShowsInTheMiddleWithItsInformation) {
    const QStringList lines = Click(QStringLiteral("14"), QStringLiteral("1"));
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines.join(QLatin1Char('|')),
              QStringLiteral("Информация о рисунке:||Тип: Иконка или курсор|Размер: 32 x 32"));
    EXPECT_TRUE(window->PDisplay->hasDrawings());
    EXPECT_FALSE(window->HScroll->isEnabled());
    EXPECT_FALSE(window->VScroll->isEnabled());
    Screenshot(QStringLiteral("icon_group"));

    Click(QStringLiteral("12"), QStringLiteral("1"));
    EXPECT_TRUE(window->PDisplay->printedLines().contains(QStringLiteral("Тип: Иконка или курсор")));
    Screenshot(QStringLiteral("cursor_group"));
}

TEST_F(PictureWindow, ALargeBitmapStartsAtTheCornerWithBothScrollBars) {
    const QStringList lines = Click(QStringLiteral("2"), QStringLiteral("BIG"));
    EXPECT_TRUE(lines.contains(QStringLiteral("Тип: Точечный рисунок или рисунок в аналогичном формате")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Размер: 900 x 700")));
    ASSERT_TRUE(window->HScroll->isEnabled());
    ASSERT_TRUE(window->VScroll->isEnabled());
    // The scroll range is the part of the picture beyond the visible area.
    EXPECT_EQ(window->HScroll->maximum(), 900 - TwipsToPixelsX(window->Session.viewport.width));
    EXPECT_EQ(window->VScroll->maximum(), 700 - TwipsToPixelsY(window->Session.viewport.height));
    Screenshot(QStringLiteral("big_bitmap_top_left"));
    window->HScroll->setValue(window->HScroll->maximum());
    window->VScroll->setValue(window->VScroll->maximum());
    EXPECT_EQ(window->PDisplay->x(), -window->HScroll->maximum());
    EXPECT_EQ(window->PDisplay->y(), -window->VScroll->maximum());
    Screenshot(QStringLiteral("big_bitmap_scrolled"));
}

TEST_F(PictureWindow, MetafilesAndPictureFilesShowByTheirType) {
    EXPECT_TRUE(
        Click(QStringLiteral("EMF"), QStringLiteral("DRAWING")).contains(QStringLiteral("Тип: Метафайл")));
    Screenshot(QStringLiteral("emf"));
    EXPECT_TRUE(
        Click(QStringLiteral("WMF"), QStringLiteral("DRAWING")).contains(QStringLiteral("Тип: Метафайл")));
    Screenshot(QStringLiteral("wmf"));
    EXPECT_TRUE(Click(QStringLiteral("GIF"), QStringLiteral("ANIM"))
                    .contains(QStringLiteral("Тип: Точечный рисунок или рисунок в аналогичном формате")));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PictureWindow, BrokenPicturesSayTheyCannotBeLoaded) {
    const QStringList lines = Click(QStringLiteral("2"), QStringLiteral("201"));
    EXPECT_EQ(lines, QStringList{QStringLiteral("Не удаётся загрузить ресурс.")});
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PictureWindow, ARefusedPictureFileAsksTheErrorQuestion) {
    ui.answers.push_back(MsgAnswer::Yes);
    Click(QStringLiteral("JPG"), QStringLiteral("NOTAPICTURE"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral("Код: 481")))
        << ui.messages[0].text.toStdString();
    EXPECT_TRUE(ui.messages[0].text.endsWith(QStringLiteral("Игнорировать?")));
}

TEST_F(PictureWindow, WinesOwnIconsAndCursorsShowAtTheirChosenSize) {
    const QString wine = QStringLiteral("/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/");
    if (!QFile::exists(wine + QStringLiteral("shell32.dll")))
        GTEST_SKIP() << "Wine's libraries are not installed";
    ui.openAnswers.push_back(wine + QStringLiteral("shell32.dll"));
    window->MnuOpenFile_Click();
    // The folder icon: 16 to 256 pixels, the 32-pixel image chosen.
    EXPECT_TRUE(Click(QStringLiteral("14"), QStringLiteral("4")).contains(QStringLiteral("Размер: 32 x 32")));
    Screenshot(QStringLiteral("wine_shell32_icon"));
    ui.openAnswers.push_back(wine + QStringLiteral("user32.dll"));
    window->MnuOpenFile_Click();
    EXPECT_TRUE(Click(QStringLiteral("12"), QStringLiteral("32513"))
                    .contains(QStringLiteral("Тип: Иконка или курсор")));
    Screenshot(QStringLiteral("wine_user32_cursor"));
}
