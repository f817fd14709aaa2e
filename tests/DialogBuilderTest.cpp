// The dialog builder: geometry and fonts as the platform computes them, every control class of
// the fixtures made into the right widget with its styles honoured, and the cases where the
// platform would make no window at all.
#include "views/dialogs/DialogBuilder.h"
#include "DialogControls.h"
#include "Fixtures.h"
#include "TemplateBytes.h"
#include "formats/WindowStyles.h"
#include "imaging/RasterPicture.h"
#include "resources/IdentifierStrings.h"
#include "resources/ModuleCatalogue.h"
#include "views/dialogs/DialogFonts.h"
#include "views/dialogs/DialogGeometry.h"
#include "views/dialogs/controls/StaticControl.h"

#include <QButtonGroup>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSlider>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace Win;

namespace {
DialogTemplate FixtureDialog(const ResourceId &name) {
    const auto module = ModuleCatalogue::Open(FixturePath(QStringLiteral("dialogs32.dll")));
    if (!module) return {};
    const auto data = module->Bytes({ResourceId::fromNumber(5), name});
    return data ? ReadDialogTemplate(*data) : DialogTemplate{};
}

// A picture loader that answers with plain images of a given size and records what it was asked.
struct FakePictures {
    QStringList asked;
    QSize iconSize{48, 48}, bitmapSize{20, 10};
    PictureLoader loader() {
        return [this](const ResourceEntry &entry) -> std::shared_ptr<Picture> {
            asked << TypeString(entry.type) + QLatin1Char(' ') + NameString(entry.name);
            const QSize size = entry.type == ResourceId::fromNumber(14) ? iconSize : bitmapSize;
            QImage image(size, QImage::Format_ARGB32);
            image.fill(Qt::red);
            return std::make_shared<RasterPicture>(
                image, entry.type == ResourceId::fromNumber(14) ? Picture::Icon : Picture::Bitmap);
        };
    }
};

class DialogBuilderTest : public testing::Test {
protected:
    QWidget host;
    FakePictures pictures;
};
} // namespace

TEST(DialogGeometry, MulDivRoundsAsThePlatformDoes) {
    EXPECT_EQ(MulDiv(133, 6, 4), 200);   // 199.5 rounds up
    EXPECT_EQ(MulDiv(-133, 6, 4), -200); // and away from zero below it
    EXPECT_EQ(MulDiv(61, 13, 8), 99);
    EXPECT_EQ(MulDiv(62, 13, 8), 101);
    EXPECT_EQ(MulDiv(5, 7, 0), -1);
    EXPECT_EQ(MulDiv(32767, 32767, 1), 32767 * 32767);
    EXPECT_EQ(DialogUnitsToPixels(10, 8, 50, 14, {6, 13}), QRect(15, 13, 75, 23));
}

TEST(DialogGeometry, NonClientPartsFollowTheStyles) {
    struct Case {
        std::uint32_t style, exStyle;
        int frame, caption, edge;
    };
    const Case cases[] = {
        {WS_POPUP, 0, 0, 0, 0},
        {WS_POPUP | WS_BORDER, 0, 1, 0, 0},
        {WS_POPUP | WS_CAPTION, 0, 3, 19, 0},
        {WS_POPUP | WS_CAPTION, WS_EX_DLGMODALFRAME, 3, 19, 0},
        {WS_POPUP, WS_EX_DLGMODALFRAME, 3, 0, 0},
        {WS_POPUP | WS_CAPTION | WS_THICKFRAME, 0, 4, 19, 0},
        {WS_POPUP | WS_THICKFRAME, 0, 3, 0, 0},
        {WS_CHILD | WS_DLGFRAME, 0, 3, 0, 0},
        {WS_CHILD, WS_EX_STATICEDGE, 1, 0, 0},
        {WS_CHILD, WS_EX_CLIENTEDGE, 0, 0, 2},
        {WS_POPUP | WS_CAPTION, WS_EX_TOOLWINDOW, 3, 15, 0},
    };
    for (const Case &c : cases) {
        const NonClientParts parts = NonClientFor(c.style, c.exStyle, false);
        EXPECT_EQ(parts.frame, c.frame) << std::hex << c.style << " " << c.exStyle;
        EXPECT_EQ(parts.caption, c.caption) << std::hex << c.style << " " << c.exStyle;
        EXPECT_EQ(parts.clientEdge, c.edge) << std::hex << c.style << " " << c.exStyle;
    }
    EXPECT_EQ(NonClientFor(WS_POPUP | WS_CAPTION, 0, true).margins(), QMargins(3, 3 + 19 + 19, 3, 3));
}

TEST(DialogFonts, BaseUnitsAreTheRoundedAverageOfTheLatinLetters) {
    for (const char *face : {"MS Shell Dlg", "Liberation Sans", "Courier New"}) {
        for (const std::uint16_t points : {std::uint16_t{8}, std::uint16_t{9}, std::uint16_t{12}}) {
            const QFont font = DialogFontFor(DialogFont{points, 0, false, 1, QString::fromLatin1(face)});
            const int width = QFontMetrics(font).horizontalAdvance(
                QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"));
            const DialogBaseUnits units = MeasureBaseUnits(font);
            EXPECT_EQ(units.cx, (width + 26) / 52) << face << " " << points;
            EXPECT_EQ(units.cy, PlatformFontHeight(font)) << face << " " << points;
            EXPECT_GE(units.cy, font.pixelSize()) << face << " " << points;
        }
    }
    // Liberation Sans stores usWinAscent 1854 and usWinDescent 434 in 2048 units: at 12 pixels the
    // platform's height is 11 + 3.
    QFont liberation(QStringLiteral("Liberation Sans"));
    liberation.setPixelSize(12);
    if (QFontInfo(liberation).family() == QLatin1String("Liberation Sans")) {
        EXPECT_EQ(PlatformFontHeight(liberation), 14);
    }
}

TEST(DialogFonts, FacesSizesAndStyles) {
    // The dialog faces of the platform resolve to a family this system has; fixed-pitch faces to a
    // fixed-pitch one.
    EXPECT_TRUE(QFontDatabase::hasFamily(ResolveFaceName(QStringLiteral("MS Shell Dlg"))));
    EXPECT_TRUE(QFontDatabase::hasFamily(ResolveFaceName(QStringLiteral("No Such Face At All"))));
    EXPECT_TRUE(QFontInfo(QFont(ResolveFaceName(QStringLiteral("Courier New")))).fixedPitch());
    const QFont bold = DialogFontFor(DialogFont{9, 700, true, 204, QStringLiteral("MS Shell Dlg")});
    EXPECT_EQ(bold.weight(), QFont::Bold);
    EXPECT_TRUE(bold.italic());
    EXPECT_EQ(DialogFontFor(DialogFont{8, 0, false, 1, QStringLiteral("MS Shell Dlg")}).weight(),
              QFont::Normal);
    // 0x7FFF asks for the message-box font; absurd sizes stop at a size a screen can show.
    EXPECT_EQ(DialogFontFor(DialogFont{0x7FFF, 0, false, 1, QString()}).pixelSize(),
              DialogFontFor(DialogFont{8, 0, false, 1, QStringLiteral("MS Shell Dlg")}).pixelSize());
    EXPECT_LE(DialogFontFor(DialogFont{30000, 0, false, 1, QStringLiteral("Tahoma")}).pixelSize(), 400);
    // No font block: the bold system font.
    const QFont system = DialogFontFor(std::nullopt);
    EXPECT_EQ(system.pixelSize(), 16);
    EXPECT_EQ(system.weight(), QFont::Bold);
}

TEST(DialogFonts, TheStandInDialogFaceHasTheTallerPlatformHeight) {
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPixelSize(11);
    ResolveFaceName(QStringLiteral("Tahoma")); // registers the stand-in fonts when they are installed
    if (QFontInfo(tahoma).family() != QLatin1String("Tahoma")) GTEST_SKIP() << "no Tahoma stand-in";
    // Its typographic metrics (what Qt uses) give 11 pixels; GDI's usWinAscent + usWinDescent give
    // 13, and dialogs are laid out in eighths of that.
    EXPECT_EQ(PlatformFontHeight(tahoma), 13);
    EXPECT_EQ(MeasureBaseUnits(tahoma), (DialogBaseUnits{6, 13}));
}

TEST_F(DialogBuilderTest, StandardTemplateMakesEveryPredefinedClass) {
    const DialogTemplate d = FixtureDialog(ResourceId::fromNumber(100));
    ASSERT_EQ(d.items.size(), 39u);
    auto window = CreateDialogWindow(d, &host, pictures.loader());
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->isChildStyle());
    EXPECT_TRUE(window->isWindow());
    EXPECT_EQ(window->parentWidget(), &host);
    EXPECT_EQ(window->caption(), QStringLiteral("Стандартный"));
    EXPECT_EQ(window->nonClient().caption, 19);
    EXPECT_EQ(window->nonClient().frame, 3); // DS_MODALFRAME

    // Sizes: the client area is the template's size in dialog units of the dialog's font.
    const DialogBaseUnits units = MeasureBaseUnits(window->font());
    EXPECT_EQ(window->client()->size(), DialogUnitsToPixels(0, 0, 300, 220, units).size());
    EXPECT_EQ(Control(*window, 1)->geometry(), DialogUnitsToPixels(240, 6, 50, 14, units));

    auto *ok = ControlAs<QPushButton>(*window, 1);
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(ok->text(), QStringLiteral("&OK"));
    EXPECT_FALSE(ControlAs<QPushButton>(*window, 2)->isDefault());
    EXPECT_NE(ControlAs<QPushButton>(*window, 3), nullptr); // owner-drawn: a plain button
    auto *group = ControlAs<QGroupBox>(*window, 10);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->title(), QStringLiteral("&Group"));
    EXPECT_TRUE(ControlAs<QCheckBox>(*window, 13)->isTristate());
    EXPECT_TRUE(ControlAs<QCheckBox>(*window, 14)->isTristate());
    EXPECT_FALSE(ControlAs<QCheckBox>(*window, 12)->isTristate());

    auto *single = ControlAs<QLineEdit>(*window, 20);
    ASSERT_NE(single, nullptr);
    EXPECT_EQ(single->echoMode(), QLineEdit::Normal);
    auto *multi = ControlAs<QPlainTextEdit>(*window, 21);
    ASSERT_NE(multi, nullptr);
    EXPECT_EQ(multi->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(multi->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(ControlAs<QLineEdit>(*window, 22)->echoMode(), QLineEdit::Password);
    auto *readOnly = ControlAs<QLineEdit>(*window, 23);
    EXPECT_TRUE(readOnly->isReadOnly());
    EXPECT_EQ(readOnly->palette().color(QPalette::Base), readOnly->palette().color(QPalette::Window));

    EXPECT_NE(ControlAs<QListWidget>(*window, 50), nullptr);
    auto *simple = Control(*window, 51);
    ASSERT_NE(simple, nullptr);
    EXPECT_NE(simple->findChild<QLineEdit *>(), nullptr);
    EXPECT_NE(simple->findChild<QListWidget *>(), nullptr);
    auto *dropDown = ControlAs<QComboBox>(*window, 52);
    auto *dropList = ControlAs<QComboBox>(*window, 53);
    ASSERT_TRUE(dropDown && dropList);
    EXPECT_TRUE(dropDown->isEditable());
    EXPECT_FALSE(dropList->isEditable());
    // The template's height of a drop-down combo box is its list's; the box is one line high.
    EXPECT_EQ(dropList->height(), units.cy + 8);
    EXPECT_EQ(ControlAs<QScrollBar>(*window, 60)->orientation(), Qt::Horizontal);
    EXPECT_EQ(ControlAs<QScrollBar>(*window, 61)->orientation(), Qt::Vertical);
    EXPECT_FALSE(Control(*window, 70)->isEnabled());
    EXPECT_TRUE(Control(*window, 1)->isEnabled());
    EXPECT_FALSE(Control(*window, 71)->isVisibleTo(window.get()));
    EXPECT_TRUE(Control(*window, 2)->isVisibleTo(window.get()));
}

TEST_F(DialogBuilderTest, ButtonsChangeStateOnlyWhenTheyAreAutomatic) {
    auto window = CreateDialogWindow(FixtureDialog(ResourceId::fromNumber(100)), &host, pictures.loader());
    ASSERT_NE(window, nullptr);
    auto *manual = ControlAs<QCheckBox>(*window, 11);
    auto *automatic = ControlAs<QCheckBox>(*window, 12);
    manual->click();
    automatic->click();
    EXPECT_FALSE(manual->isChecked());
    EXPECT_TRUE(automatic->isChecked());
    // An automatic 3-state box goes unchecked, checked, indeterminate, unchecked.
    auto *triState = ControlAs<QCheckBox>(*window, 14);
    triState->click();
    EXPECT_EQ(triState->checkState(), Qt::Checked);
    triState->click();
    EXPECT_EQ(triState->checkState(), Qt::PartiallyChecked);
    triState->click();
    EXPECT_EQ(triState->checkState(), Qt::Unchecked);
    auto *manualTriState = ControlAs<QCheckBox>(*window, 13);
    manualTriState->click();
    EXPECT_EQ(manualTriState->checkState(), Qt::Unchecked);

    // Automatic radio buttons exclude each other within their WS_GROUP run only.
    auto *a1 = ControlAs<QRadioButton>(*window, 15), *a2 = ControlAs<QRadioButton>(*window, 16);
    auto *b1 = ControlAs<QRadioButton>(*window, 17), *b2 = ControlAs<QRadioButton>(*window, 18);
    auto *manualRadio = ControlAs<QRadioButton>(*window, 19);
    a1->click();
    b2->click();
    EXPECT_TRUE(a1->isChecked());
    EXPECT_TRUE(b2->isChecked());
    a2->click();
    EXPECT_FALSE(a1->isChecked());
    EXPECT_TRUE(a2->isChecked());
    EXPECT_TRUE(b2->isChecked());
    EXPECT_FALSE(b1->isChecked());
    manualRadio->click();
    EXPECT_FALSE(manualRadio->isChecked());
    // The push buttons run no command: the dialog stays as it was.
    ControlAs<QPushButton>(*window, 1)->click();
    ControlAs<QPushButton>(*window, 2)->click();
    EXPECT_FALSE(window->isHidden() && window->testAttribute(Qt::WA_WState_ExplicitShowHide));
}

TEST_F(DialogBuilderTest, StaticsDrawTextImagesAndShapes) {
    auto window = CreateDialogWindow(FixtureDialog(ResourceId::fromNumber(100)), &host, pictures.loader());
    ASSERT_NE(window, nullptr);
    auto *left = ControlAs<StaticControl>(*window, 30);
    ASSERT_NE(left, nullptr);
    EXPECT_EQ(left->displayText(), QStringLiteral("Left text"));
    EXPECT_EQ(left->accessKey(), QChar('L'));
    EXPECT_TRUE(left->textFlags() & Qt::AlignLeft);
    EXPECT_TRUE(left->textFlags() & Qt::TextWordWrap);
    EXPECT_TRUE(ControlAs<StaticControl>(*window, 31)->textFlags() & Qt::AlignHCenter);
    EXPECT_TRUE(ControlAs<StaticControl>(*window, 32)->textFlags() & Qt::AlignRight);
    auto *noPrefix = ControlAs<StaticControl>(*window, 33);
    EXPECT_EQ(noPrefix->displayText(), QStringLiteral("A && B &C"));
    EXPECT_TRUE(noPrefix->accessKey().isNull());
    EXPECT_FALSE(noPrefix->textFlags() & Qt::TextShowMnemonic);
    // Statics let clicks through to what lies beneath.
    EXPECT_TRUE(left->testAttribute(Qt::WA_TransparentForMouseEvents));

    // The icon comes from the icon group named by the item's ordinal, at the default icon size,
    // and the control takes its size; the bitmap comes by name, at its own size.
    EXPECT_TRUE(pictures.asked.contains(QStringLiteral("14 #101")));
    EXPECT_TRUE(pictures.asked.contains(QStringLiteral("2 PICTURE")));
    auto *icon = ControlAs<StaticControl>(*window, 34);
    EXPECT_EQ(icon->image().size(), QSize(32, 32));
    EXPECT_EQ(icon->size(), QSize(32, 32));
    auto *bitmap = ControlAs<StaticControl>(*window, 35);
    EXPECT_EQ(bitmap->image().size(), QSize(20, 10));
    EXPECT_EQ(bitmap->size(), QSize(20, 10));
    EXPECT_EQ(ControlAs<StaticControl>(*window, 36)->staticType(), SS_BLACKRECT);
    EXPECT_EQ(ControlAs<StaticControl>(*window, 38)->staticType(), SS_ETCHEDHORZ);

    // With no picture at all the image statics stay empty and keep the template's size.
    const PictureLoader none = [](const ResourceEntry &) { return std::shared_ptr<Picture>(); };
    auto bare = CreateDialogWindow(FixtureDialog(ResourceId::fromNumber(100)), &host, none);
    ASSERT_NE(bare, nullptr);
    EXPECT_TRUE(ControlAs<StaticControl>(*bare, 34)->image().isNull());
    EXPECT_EQ(Control(*bare, 35)->size(),
              DialogUnitsToPixels(0, 0, 20, 20, MeasureBaseUnits(bare->font())).size());
}

TEST_F(DialogBuilderTest, ALaterControlLiesOverAnEarlierOneAndAccessKeysMoveTheFocus) {
    auto window = CreateDialogWindow(FixtureDialog(ResourceId::fromNumber(100)), &host, pictures.loader());
    ASSERT_NE(window, nullptr);
    QWidget *group = Control(*window, 10), *check = Control(*window, 11);
    const QObjectList &stack = window->client()->children();
    EXPECT_LT(stack.indexOf(group), stack.indexOf(check)); // later in the list is higher
    // The check box inside the group box gets the click aimed at it.
    EXPECT_EQ(window->client()->childAt(check->geometry().center()), check);

    // "&Name:" moves the focus to the edit after it.
    QShortcut *nameKey = nullptr;
    for (QShortcut *s : window->findChildren<QShortcut *>())
        if (s->key() == QKeySequence(Qt::ALT | Qt::Key_N)) nameKey = s;
    ASSERT_NE(nameKey, nullptr);
    emit nameKey->activated();
    EXPECT_EQ(window->focusWidget(), ControlAs<QLineEdit>(*window, 73));
}

TEST_F(DialogBuilderTest, ExtendedTemplateMakesEveryCommonControl) {
    const DialogTemplate d = FixtureDialog(ResourceId::fromNumber(200));
    auto window = CreateDialogWindow(d, &host, pictures.loader());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->nonClient().frame, 4); // sizing frame with a caption
    EXPECT_TRUE(window->font().italic());
    EXPECT_EQ(window->font().weight(), QFont::Bold);

    auto *report = ControlAs<QTreeWidget>(*window, 100);
    ASSERT_NE(report, nullptr);
    EXPECT_FALSE(report->isHeaderHidden());
    EXPECT_EQ(ControlAs<QListWidget>(*window, 101)->viewMode(), QListView::IconMode);
    EXPECT_TRUE(ControlAs<QTreeWidget>(*window, 102)->isHeaderHidden());
    ASSERT_NE(Control(*window, 103), nullptr);
    EXPECT_EQ(ControlAs<QProgressBar>(*window, 104)->orientation(), Qt::Vertical);
    auto *track = ControlAs<QSlider>(*window, 105);
    EXPECT_EQ(track->tickInterval(), 1);
    EXPECT_EQ(track->tickPosition(), QSlider::TicksBelow);
    EXPECT_EQ(ControlAs<QSlider>(*window, 122)->orientation(), Qt::Vertical);
    EXPECT_EQ(ControlAs<QSlider>(*window, 122)->tickInterval(), 100); // only the two ends

    // The up-down joins the edit before it: at its right edge, as high, and the edit gives way.
    const DialogBaseUnits units = MeasureBaseUnits(window->font());
    const QRect editRect = DialogUnitsToPixels(212, 74, 60, 12, units);
    const QRect upDownRect = DialogUnitsToPixels(0, 0, 10, 12, units);
    QWidget *edit = Control(*window, 106), *upDown = Control(*window, 107);
    EXPECT_EQ(edit->geometry(),
              QRect(editRect.topLeft(), QSize(editRect.width() - upDownRect.width(), editRect.height())));
    EXPECT_EQ(upDown->geometry(),
              QRect(edit->geometry().right() + 1, editRect.top(), upDownRect.width(), editRect.height()));

    EXPECT_NE(Control(*window, 108), nullptr);
    EXPECT_EQ(ControlAs<QPlainTextEdit>(*window, 109)->toPlainText(), QStringLiteral("Rich W"));
    for (const unsigned id : {110u, 111u, 112u})
        EXPECT_NE(ControlAs<QLineEdit>(*window, id), nullptr) << id;
    auto *link = ControlAs<QLabel>(*window, 113);
    ASSERT_NE(link, nullptr);
    EXPECT_TRUE(link->text().contains(QStringLiteral(">the site</a>")));
    EXPECT_FALSE(link->text().contains(QStringLiteral("example.org"))); // the target is not followed
    EXPECT_FALSE(link->openExternalLinks());
    EXPECT_TRUE(ControlAs<QDateTimeEdit>(*window, 114)->calendarPopup());
    EXPECT_FALSE(ControlAs<QDateTimeEdit>(*window, 115)->calendarPopup());
    EXPECT_NE(ControlAs<QCalendarWidget>(*window, 116), nullptr);
    EXPECT_EQ(ControlAs<QLineEdit>(*window, 117)->inputMask(), QStringLiteral("000.000.000.000"));
    EXPECT_NE(ControlAs<QKeySequenceEdit>(*window, 118), nullptr);
    EXPECT_FALSE(ControlAs<QComboBox>(*window, 119)->isEditable());
    // The toolbar and the status bar align themselves to the top and bottom of the client area.
    const QSize client = window->client()->size();
    auto *toolbar = ControlAs<QToolBar>(*window, 120);
    EXPECT_EQ(toolbar->geometry().topLeft(), QPoint(0, 0));
    EXPECT_EQ(toolbar->width(), client.width());
    auto *status = ControlAs<QStatusBar>(*window, 121);
    EXPECT_EQ(status->geometry().bottom(), client.height() - 1);
    EXPECT_EQ(status->width(), client.width());
    EXPECT_NE(status->findChild<QLabel *>(), nullptr);
    EXPECT_EQ(status->findChild<QLabel *>()->text(), QStringLiteral("Ready"));
}

TEST_F(DialogBuilderTest, StylesOfTheDialogWindow) {
    // DS_CONTROL takes the caption away; the client edge stays.
    auto page = CreateDialogWindow(FixtureDialog(ResourceId::fromName(QStringLiteral("CONTROLPAGE"))), &host,
                                   pictures.loader());
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->isChildStyle());
    EXPECT_FALSE(page->isWindow());
    EXPECT_EQ(page->nonClient().caption, 0);
    EXPECT_EQ(page->nonClient().clientEdge, 2);
    // An overlapped template gets a caption and a border whatever it says.
    auto overlapped =
        CreateDialogWindow(FixtureDialog(ResourceId::fromNumber(301)), &host, pictures.loader());
    ASSERT_NE(overlapped, nullptr);
    EXPECT_TRUE(overlapped->isWindow());
    EXPECT_EQ(overlapped->nonClient().caption, 19);
    EXPECT_EQ(overlapped->nonClient().frame, 3);
    // Without a font block the dialog and its controls use the system font.
    auto plain = CreateDialogWindow(FixtureDialog(ResourceId::fromNumber(302)), &host, pictures.loader());
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->font().pixelSize(), 16);
    EXPECT_EQ(Control(*plain, 1)->font().pixelSize(), 16);
    EXPECT_EQ(plain->nonClient().frame, 1);
}

TEST_F(DialogBuilderTest, NoWindowLargerThanTheScreen) {
    const QSize maximum = MaximumPreviewSize(&host);
    ASSERT_GT(maximum.width(), 0);
    for (const char *name : {"HUGE", "HUGECHILD"}) {
        const DialogTemplate d = FixtureDialog(ResourceId::fromName(QString::fromLatin1(name)));
        ASSERT_EQ(d.cx, 32767);
        auto window = CreateDialogWindow(d, &host, pictures.loader());
        ASSERT_NE(window, nullptr) << name;
        EXPECT_LE(window->width(), maximum.width()) << name;
        EXPECT_LE(window->height(), maximum.height()) << name;
        EXPECT_EQ(window->client()->geometry(), window->rect().marginsRemoved(window->nonClient().margins()));
    }
}

TEST_F(DialogBuilderTest, UnknownClassesMakeNoWindow) {
    EXPECT_EQ(CreateDialogWindow(FixtureDialog(ResourceId::fromNumber(300)), &host, pictures.loader()),
              nullptr);
    EXPECT_EQ(CreateDialogWindow(FixtureDialog(ResourceId::fromName(QStringLiteral("OWNCLASS"))), &host,
                                 pictures.loader()),
              nullptr);
    EXPECT_TRUE(host.findChildren<DialogWindow *>().isEmpty()); // nothing half-made stays behind
    // Class names compare without case; "#32770" is the dialog class itself.
    TemplateBytes b;
    b.header(WS_POPUP | DS_SETFONT, 3, 100, 50, QStringLiteral("Case"));
    b.item(WS_CHILD | WS_VISIBLE, 0, 0, 40, 10, 1, QStringLiteral("sYsLiNk"), QStringLiteral("<a>x</a>"));
    b.item(WS_CHILD | WS_VISIBLE, 0, 12, 40, 10, 2, QStringLiteral("button"), QStringLiteral("b"));
    b.item(WS_CHILD | WS_VISIBLE, 0, 24, 40, 10, 3, QStringLiteral("Msctls_Progress32"), QString());
    auto window = CreateDialogWindow(ReadDialogTemplate(b.span()), &host, pictures.loader());
    ASSERT_NE(window, nullptr);
    EXPECT_NE(ControlAs<QLabel>(*window, 1), nullptr);
    EXPECT_NE(ControlAs<QPushButton>(*window, 2), nullptr);
    EXPECT_NE(ControlAs<QProgressBar>(*window, 3), nullptr);
}

TEST_F(DialogBuilderTest, ADisabledDialogLooksNormalButTakesNoInput) {
    TemplateBytes b;
    b.header(WS_CHILD | WS_DISABLED | DS_SETFONT, 2, 100, 50, QString());
    b.item(WS_CHILD | WS_VISIBLE | WS_TABSTOP, 4, 4, 40, 14, 1, QStringLiteral("Button"),
           QStringLiteral("Go"));
    b.item(WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, 4, 20, 40, 12, 2, QStringLiteral("Edit"),
           QString());
    auto window = CreateDialogWindow(ReadDialogTemplate(b.span()), &host, pictures.loader());
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->inputBlocked());
    QWidget *button = Control(*window, 1);
    EXPECT_TRUE(button->isEnabled()); // not drawn greyed
    EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(ControlAs<QLineEdit>(*window, 2)->focusPolicy(), Qt::NoFocus);
    EXPECT_NE(window->client()->childAt(button->geometry().center()), button);
}

TEST_F(DialogBuilderTest, ControlsBeyondTheWindowQuotaMakeNoWindow) {
    auto many = [](int count, const QString &cls) {
        TemplateBytes b;
        b.header(WS_POPUP | DS_SETFONT, static_cast<unsigned>(count), 300, 200, QStringLiteral("Many"));
        for (int i = 0; i < count; ++i)
            b.item(WS_CHILD | WS_VISIBLE, i % 290, (i / 290) % 190, 10, 10, static_cast<unsigned>(i), cls,
                   QString());
        return ReadDialogTemplate(b.span());
    };
    // Thousands of plain buttons are a dialog; ten thousand are past the quota.
    auto buttons = CreateDialogWindow(many(3000, QStringLiteral("Button")), &host, pictures.loader());
    ASSERT_NE(buttons, nullptr);
    EXPECT_EQ(buttons->client()->children().size(), 3000);
    EXPECT_EQ(CreateDialogWindow(many(10000, QStringLiteral("Button")), &host, pictures.loader()), nullptr);
    EXPECT_EQ(
        BuildDialogWindow(many(10000, QStringLiteral("Button")), &host, pictures.loader()).failure()->code(),
        ErrorReport::NotEnoughQuota);
    // A calendar is dozens of widgets: a few hundred of them use the quota up.
    EXPECT_EQ(CreateDialogWindow(many(1000, QStringLiteral("SysMonthCal32")), &host, pictures.loader()),
              nullptr);
    EXPECT_EQ(host.findChildren<DialogWindow *>().size(), 1);
}
