// The dialog preview in the main window: a node click on a dialog makes the live preview, inside
// the display box for a child-style dialog and as its own window for a pop-up, and every later
// selection, reset or new file removes it.
#include "views/dialogs/DialogView.h"
#include "FakeUi.h"
#include "Fixtures.h"
#include "OpenedModule.h"
#include "TreeNodes.h"
#include "app/FrmMain.h"
#include "app/ResourceTreeView.h"
#include "fixtures/gen/PicturePattern.h"
#include "system/Twips.h"
#include "views/dialogs/DialogBuilder.h"
#include "views/dialogs/DialogFonts.h"
#include "views/dialogs/controls/StaticControl.h"
#include "views/display/DisplayBox.h"
#include "views/display/Viewport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {
const QString kCannotLoad = QStringLiteral("Не удаётся загрузить ресурс.");

class DialogViewTest : public testing::Test {
protected:
    void SetUp() override {
        main = std::make_unique<FrmMain>(ui, QStringLiteral("/EMPTYLOAD"));
        main->EndProgram = [] {};
        main->Load();
        main->show();
        Open(FixturePath(QStringLiteral("dialogs32.dll")));
    }
    void TearDown() override { main.reset(); }

    void Open(const QString &path) {
        ui.openAnswers.push_back(path);
        main->MnuOpenFile_Click();
    }
    QModelIndex NameNode(const QString &typeKey, const QString &text) {
        return FindNameNode(
            *main, [&](const QModelIndex &type) { return type.data(TreeRole::Key).toString() == typeKey; },
            text);
    }
    void Click(const QString &typeKey, const QString &text) {
        QModelIndex node = NameNode(typeKey, text);
        ASSERT_TRUE(node.isValid()) << text.toStdString();
        main->NodeClick(node);
    }
    DialogWindow *Preview() const { return qobject_cast<DialogWindow *>(main->Session.preview.window()); }

    FakeUi ui;
    std::unique_ptr<FrmMain> main;
};
} // namespace

TEST_F(DialogViewTest, AChildDialogOf200By100PixelsMakesTheDisplay3000By1860Twips) {
    Click(QStringLiteral("#5"), QStringLiteral("CHILD200"));
    DialogWindow *preview = Preview();
    ASSERT_NE(preview, nullptr);
    // The example's font, Liberation Sans of 9 points, has dialog base units of 7 x 14 pixels:
    // 114 x 57 units make 200 x 100 pixels.
    ASSERT_EQ(MeasureBaseUnits(preview->font()), (DialogBaseUnits{7, 14}));
    EXPECT_EQ(preview->parentWidget(), main->PDisplay);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_EQ(preview->geometry(), QRect(0, 0, 200, 100));
    EXPECT_EQ(main->PDisplay->pos(), QPoint(0, 0));
    EXPECT_EQ(PixelsToTwipsX(main->PDisplay->width()), 200 * TwipsPerPixelX());
    EXPECT_EQ(PixelsToTwipsY(main->PDisplay->height()), 124 * TwipsPerPixelY());
    if (TwipsPerPixelX() == 15 && TwipsPerPixelY() == 15) {
        EXPECT_EQ(PixelsToTwipsX(main->PDisplay->width()), 3000);
        EXPECT_EQ(PixelsToTwipsY(main->PDisplay->height()), 1860);
    }
    // Smaller than the visible area: no scrolling.
    EXPECT_FALSE(main->HScroll->isEnabled());
    EXPECT_FALSE(main->VScroll->isEnabled());
    EXPECT_TRUE(main->PDisplay->printedLines().isEmpty());
}

TEST_F(DialogViewTest, AChildDialogLargerThanTheViewScrolls) {
    Click(QStringLiteral("#5"), QStringLiteral("HUGECHILD"));
    DialogWindow *preview = Preview();
    ASSERT_NE(preview, nullptr);
    const QSize maximum = MaximumPreviewSize(main->PDisplay);
    EXPECT_LE(preview->width(), maximum.width());
    EXPECT_LE(preview->height(), maximum.height());
    EXPECT_EQ(main->PDisplay->size(), QSize(preview->width(), preview->height() + 24));
    const int viewportW = TwipsToPixelsX(main->Session.viewport.width),
              viewportH = TwipsToPixelsY(main->Session.viewport.height);
    ASSERT_GT(preview->width(), viewportW);
    EXPECT_TRUE(main->HScroll->isEnabled());
    EXPECT_TRUE(main->VScroll->isEnabled());
    EXPECT_EQ(main->HScroll->maximum(), main->PDisplay->width() - viewportW);
    EXPECT_EQ(main->VScroll->maximum(), main->PDisplay->height() - viewportH);
    // Scrolling moves the box with the dialog in it.
    main->HScroll->setValue(25);
    EXPECT_EQ(main->PDisplay->x(), -25);
    EXPECT_EQ(preview->mapTo(main->PDisplay, QPoint(0, 0)), QPoint(0, 0));
}

TEST_F(DialogViewTest, APopUpIsAWindowOfItsOwnOverTheDisplayCorner) {
    const QSize before = main->PDisplay->size();
    Click(QStringLiteral("#5"), QStringLiteral("100"));
    DialogWindow *preview = Preview();
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->isWindow());
    EXPECT_EQ(preview->parentWidget(), main.get()); // owned by the main window
    EXPECT_TRUE(preview->isVisible());
    EXPECT_EQ(preview->pos(), main->PDisplay->mapToGlobal(QPoint(0, 0)));
    EXPECT_EQ(main->PDisplay->size(), before); // the box keeps half the frame's size
    EXPECT_EQ(preview->caption(), QStringLiteral("Стандартный"));
    // An overlapped template is a window of its own too.
    Click(QStringLiteral("#5"), QStringLiteral("301"));
    ASSERT_NE(Preview(), nullptr);
    EXPECT_TRUE(Preview()->isWindow());
}

TEST_F(DialogViewTest, NumericAndNamedDialogsAndType17) {
    // "#200" is the integer name 200; a named dialog is found whatever the case of its name.
    const auto show = [&](const QString &name) {
        const ModuleCatalogue &module = main->Session.Module();
        return ShowDialog(module, EntryOf(module, QStringLiteral("5"), name), *main->PDisplay,
                          ModulePictures(module, {}), main->Session.preview);
    };
    EXPECT_TRUE(show(QStringLiteral("#200")));
    ASSERT_NE(Preview(), nullptr);
    EXPECT_EQ(Preview()->caption(), QStringLiteral("Common controls"));
    main->ClearDisplay();
    EXPECT_TRUE(show(QStringLiteral("child200")));
    ASSERT_NE(Preview(), nullptr);
    EXPECT_TRUE(Preview()->isChildStyle());
    main->ClearDisplay();
    EXPECT_FALSE(show(QStringLiteral("#999")));
    EXPECT_EQ(Preview(), nullptr);

    // Type 17 goes to the preview too, which looks the name up among the dialogs.
    Click(QStringLiteral("#17"), QStringLiteral("100"));
    ASSERT_NE(Preview(), nullptr);
    EXPECT_EQ(Preview()->caption(), QStringLiteral("Стандартный"));
    Click(QStringLiteral("#17"), QStringLiteral("NODIALOG"));
    EXPECT_EQ(Preview(), nullptr);
    EXPECT_EQ(main->PDisplay->printedLines(), QStringList{kCannotLoad});
}

TEST_F(DialogViewTest, EveryLaterSelectionResetOrFileRemovesThePreview) {
    Click(QStringLiteral("#5"), QStringLiteral("100"));
    QPointer<QObject> first = main->Session.preview.window();
    ASSERT_FALSE(first.isNull());
    Click(QStringLiteral("#5"), QStringLiteral("CHILD200"));
    EXPECT_TRUE(first.isNull());
    QPointer<QObject> second = main->Session.preview.window();
    ASSERT_FALSE(second.isNull());
    main->MnuReset_Click();
    EXPECT_TRUE(second.isNull());
    EXPECT_EQ(main->Session.preview.window(), nullptr);

    Click(QStringLiteral("#5"), QStringLiteral("200"));
    QPointer<QObject> third = main->Session.preview.window();
    ASSERT_FALSE(third.isNull());
    main->Session.Release(); // the preview goes before the module it was made from
    EXPECT_TRUE(third.isNull());

    Open(FixturePath(QStringLiteral("dialogs64.dll")));
    Click(QStringLiteral("#5"), QStringLiteral("100"));
    QPointer<QObject> fourth = main->Session.preview.window();
    ASSERT_FALSE(fourth.isNull());
    Open(FixturePath(QStringLiteral("dialogs32.dll")));
    EXPECT_TRUE(fourth.isNull());
    EXPECT_TRUE(main->findChildren<DialogWindow *>().isEmpty());
}

TEST_F(DialogViewTest, AnUnknownClassShowsTheCannotLoadText) {
    Click(QStringLiteral("#5"), QStringLiteral("300"));
    EXPECT_EQ(Preview(), nullptr);
    EXPECT_TRUE(main->findChildren<DialogWindow *>().isEmpty());
    EXPECT_EQ(main->PDisplay->printedLines(), QStringList{kCannotLoad});
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DialogViewTest, ControlsTakeFocusAndClicksButRunNoCommand) {
    Click(QStringLiteral("#5"), QStringLiteral("100"));
    DialogWindow *preview = Preview();
    ASSERT_NE(preview, nullptr);
    QPointer<QObject> alive = main->Session.preview.window();
    for (QPushButton *button : preview->findChildren<QPushButton *>())
        button->click();
    QLineEdit *edit = nullptr;
    for (QLineEdit *e : preview->findChildren<QLineEdit *>())
        if (e->property("dialogItemId").toULongLong() == 20 ||
            e->parentWidget()->property("dialogItemId").toULongLong() == 20)
            edit = e;
    ASSERT_NE(edit, nullptr);
    preview->activateWindow();
    QApplication::setActiveWindow(preview);
    edit->setFocus();
    EXPECT_EQ(preview->focusWidget(), edit);
    for (const int key : {Qt::Key_Return, Qt::Key_Escape, Qt::Key_Space}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(edit, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(edit, &release);
    }
    QApplication::processEvents();
    EXPECT_FALSE(alive.isNull());
    EXPECT_TRUE(preview->isVisible());
    EXPECT_EQ(main->Session.preview.window(), preview);
}

TEST_F(DialogViewTest, ABrokenTemplateGivesNoPreviewAndNoCrash) {
    // Dialog 100 of the fixture, patched in a copy of the file: its item count made 65,535, far
    // more items than its data holds.
    const QByteArray file = ReadFileBytes(FixturePath(QStringLiteral("dialogs32.dll")));
    const QByteArray title = QByteArray::fromRawData(reinterpret_cast<const char *>(u"Стандартный"), 22);
    const qsizetype at = file.indexOf(title);
    ASSERT_GT(at, 18);
    const qsizetype start = at - 18 - 4; // style, exStyle, count, x, y, cx, cy, menu, class
    ASSERT_EQ(static_cast<unsigned char>(file[start + 3]), 0x80u); // WS_POPUP in the style's high byte
    TempFiles temp;
    QByteArray counted = file;
    counted[start + 8] = char(0xFF);
    counted[start + 9] = char(0xFF);
    Open(temp.Write(QStringLiteral("counted.dll"), counted));
    Click(QStringLiteral("#5"), QStringLiteral("100"));
    EXPECT_EQ(Preview(), nullptr);
    EXPECT_EQ(main->PDisplay->printedLines(), QStringList{kCannotLoad});
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DialogViewTest, IconsAndBitmapsComeFromTheModule) {
    Click(QStringLiteral("#5"), QStringLiteral("100"));
    DialogWindow *preview = Preview();
    ASSERT_NE(preview, nullptr);
    auto statics = preview->findChildren<StaticControl *>();
    auto byId = [&](unsigned id) -> StaticControl * {
        for (StaticControl *s : statics)
            if (s->property("dialogItemId").toULongLong() == id) return s;
        return nullptr;
    };
    // Icon group 101 (its loader picks the 32 x 32 image), group ICON2 (16 and 48 pixels: the 48
    // is picked and drawn at the default 32), bitmap PICTURE of 13 x 7 at its own size.
    ASSERT_TRUE(byId(34) && byId(74) && byId(35));
    EXPECT_EQ(byId(34)->image().size(), QSize(32, 32));
    EXPECT_EQ(byId(74)->image().size(), QSize(32, 32));
    EXPECT_EQ(byId(35)->image().size(), QSize(13, 7));
    EXPECT_EQ(byId(35)->size(), QSize(13, 7));
    // The pictures are the module's, not blank images.
    const QImage icon = byId(34)->image().toImage();
    QSet<QRgb> colours;
    for (int y = 0; y < icon.height(); ++y)
        for (int x = 0; x < icon.width(); ++x)
            colours.insert(icon.pixel(x, y));
    EXPECT_GT(colours.size(), 2);
}

TEST_F(DialogViewTest, TheMenuTheTemplateNamesIsItsMenuBar) {
    Click(QStringLiteral("#5"), QStringLiteral("WITHMENU"));
    DialogWindow *preview = Preview();
    ASSERT_NE(preview, nullptr);
    QMenuBar *bar = preview->menuBar();
    ASSERT_NE(bar, nullptr);
    QStringList top;
    for (QAction *a : bar->actions())
        top << a->text();
    EXPECT_EQ(top, (QStringList{QStringLiteral("&File"), QStringLiteral("&View"), QStringLiteral("&Help")}));
    QMenu *file = bar->actions()[0]->menu();
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(file->actions().size(), 3);
    EXPECT_EQ(file->actions()[0]->text(), QStringLiteral("&Open\tCtrl+O"));
    EXPECT_TRUE(file->actions()[1]->isSeparator());
    EXPECT_FALSE(file->actions()[2]->isEnabled());
    QAction *status = bar->actions()[1]->menu()->actions()[0];
    EXPECT_TRUE(status->isChecked());
    status->trigger(); // no program answers: the mark stays
    EXPECT_TRUE(status->isChecked());
    // The bar lies under the caption, and the client area under the bar.
    EXPECT_EQ(bar->geometry().top(), preview->nonClient().frame + preview->nonClient().caption);
    EXPECT_EQ(preview->client()->geometry().top(), bar->geometry().bottom() + 1);

    // A template whose menu is not in the module makes no window.
    Click(QStringLiteral("#5"), QStringLiteral("MISSINGMENU"));
    EXPECT_EQ(Preview(), nullptr);
    EXPECT_EQ(main->PDisplay->printedLines(), QStringList{kCannotLoad});
}

TEST_F(DialogViewTest, PaintedAsThePlatformPaintsOverlapsTheDefaultButtonAndInvertingIconPixels) {
    // The person clicks the dialog's node in the tree.
    QModelIndex node = NameNode(QStringLiteral("#5"), QStringLiteral("OVERLAP"));
    ASSERT_TRUE(node.isValid());
    main->TVResources->expand(node.parent());
    main->TVResources->scrollTo(node);
    const QRect row = main->TVResources->visualRect(node);
    QTest::mouseClick(main->TVResources->viewport(), Qt::LeftButton, {},
                      QPoint(row.left() + 24, row.center().y()));
    DialogWindow *preview = Preview();
    ASSERT_NE(preview, nullptr);
    const QImage shot = preview->grab().toImage();
    auto control = [&](unsigned id) -> QWidget * {
        for (QWidget *w : preview->client()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            if (w->property("dialogItemId").toULongLong() == id) return w;
        return nullptr;
    };
    auto pixel = [&](unsigned id, QPoint at) { return QColor(shot.pixel(control(id)->mapTo(preview, at))); };
    for (unsigned id = 1; id <= 6; ++id)
        ASSERT_NE(control(id), nullptr) << id;
    const QPalette &pal = preview->palette();

    // The line made after the white rectangle lies over it.
    EXPECT_EQ(pixel(2, QPoint(control(2)->width() / 2, 0)), pal.color(QPalette::Shadow));
    EXPECT_EQ(pixel(1, QPoint(3, 3)), QColor(Qt::white));
    // Of two default push buttons the last one is the default: a dark frame round its bevel.
    for (unsigned id : {3u, 4u, 5u}) {
        const bool isDefault = id == 5;
        EXPECT_EQ(pixel(id, QPoint(0, 0)), pal.color(isDefault ? QPalette::Shadow : QPalette::Light)) << id;
        EXPECT_EQ(pixel(id, QPoint(1, 1)),
                  isDefault ? pal.color(QPalette::Light) : pal.color(QPalette::Button))
            << id;
    }
    // The monochrome icon: black, white, the face where it is masked over black, and the face
    // inverted where it is masked over white.
    const QColor face = pal.color(QPalette::Window);
    const int q = kMonoSize / 4;
    EXPECT_EQ(pixel(6, QPoint(q, q)), QColor(Qt::black));
    EXPECT_EQ(pixel(6, QPoint(3 * q, q)), QColor(Qt::white));
    EXPECT_EQ(pixel(6, QPoint(q, 3 * q)), face);
    EXPECT_EQ(pixel(6, QPoint(3 * q, 3 * q)),
              QColor(255 - face.red(), 255 - face.green(), 255 - face.blue()));
}
