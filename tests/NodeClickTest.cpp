// A click on a node of the tree: the header, the selection, the row chosen by the type, the text
// pane's fonts and the failure paths.
#include "MainWindowHarness.h"
#include "views/display/DisplayBox.h"
#include "views/display/TextBox.h"

#include <QFontInfo>
#include <QLabel>
#include <gtest/gtest.h>

namespace {
class NodeClickTest : public testing::Test {
protected:
    void SetUp() override { h.window->Load(); }
    FrmMain &w() { return *h.window; }
    QString Header() { return w().LInformation->text(); }
    MainWindowHarness h{QString()};
};
} // namespace

TEST_F(NodeClickTest, RootTypeAndNameNodes) {
    w().NodeClick(h.Root());
    EXPECT_EQ(Header(), QString());
    EXPECT_TRUE(w().SelectedType.isEmpty());
    EXPECT_TRUE(w().SelectedName.isEmpty());

    w().NodeClick(h.Type(QStringLiteral("Определяемый приложением ресурс")));
    EXPECT_EQ(Header(),
              QStringLiteral("Информация о ресурсе:\r\n\r\nТип ресурса: Определяемый приложением ресурс"));
    EXPECT_EQ(w().SelectedType, QStringLiteral("10"));
    EXPECT_TRUE(w().SelectedName.isEmpty());
    EXPECT_FALSE(w().TStrings->isVisible());

    w().NodeClick(h.Name(QStringLiteral("Определяемый приложением ресурс"), QStringLiteral("101")));
    EXPECT_EQ(Header(),
              QStringLiteral("Информация о ресурсе:\r\n\r\nТип ресурса: Определяемый приложением ресурс\r\n"
                             "Имя ресурса: 101\r\nРазмер ресурса: 7 байт"));
    EXPECT_EQ(w().SelectedType, QStringLiteral("10"));
    EXPECT_EQ(w().SelectedName, QStringLiteral("#101"));
    EXPECT_EQ(w().MousePointer(), 0);
}

TEST_F(NodeClickTest, UnknownTypesAreDumpedInAFixedPitchFont) {
    w().show();
    w().NodeClick(h.Name(QStringLiteral("Определяемый пользователем ресурс"), QStringLiteral("1")));
    ASSERT_TRUE(w().TStrings->isVisible());
    EXPECT_EQ(
        w().TStrings->text(),
        QStringLiteral("00000000:  63 75 73 74 6F 6D 20 69 6E 74 65 67 65 72 20 74   custom integer t\r\n"
                       "00000010:  79 70 65 ") +
            QString(39, QLatin1Char(' ')) + QStringLiteral("  ype.............\r\n"));
    EXPECT_EQ(w().TStrings->font().family(), QStringLiteral("Courier New"));
    EXPECT_TRUE(QFontInfo(w().TStrings->font()).fixedPitch());
    EXPECT_EQ(w().TStrings->property("fontCharset").toInt(), 204);
    // A named type is dumped too, whatever its case.
    w().NodeClick(h.Name(QStringLiteral("MYTYPE2"), QStringLiteral("BETA")));
    EXPECT_TRUE(w().TStrings->text().startsWith(QStringLiteral("00000000:  62 65 74 61 ")));
}

TEST_F(NodeClickTest, HtmlByNameOnly) {
    w().show();
    w().NodeClick(h.Name(QStringLiteral("HTML документ"), QStringLiteral("INDEX.HTM")));
    // The UTF-8 bytes are shown one by one in the ANSI code page, undecoded.
    EXPECT_TRUE(w().TStrings->text().startsWith(QStringLiteral("<html>РџСЂРёРІРµС‚</html>")));
    EXPECT_EQ(w().TStrings->font().family(), QStringLiteral("MS Sans Serif"));
    EXPECT_FALSE(QFontInfo(w().TStrings->font()).fixedPitch());
    // An integer-named document is dumped.
    w().NodeClick(h.Name(QStringLiteral("HTML документ"), QStringLiteral("5")));
    EXPECT_TRUE(w().TStrings->text().startsWith(QStringLiteral("00000000:  3C 70 3E 35")));
    EXPECT_EQ(w().TStrings->font().family(), QStringLiteral("Courier New"));
}

TEST_F(NodeClickTest, EmptyAndMissingResourcesFailSilently) {
    w().show();
    w().NodeClick(h.Name(QStringLiteral("Определяемый приложением ресурс"), QStringLiteral("EMPTY")));
    EXPECT_TRUE(Header().endsWith(QStringLiteral("Размер ресурса: 0 байт")));
    EXPECT_TRUE(w().TStrings->isVisible());
    EXPECT_TRUE(w().TStrings->text().isEmpty());
    EXPECT_TRUE(h.ui.messages.empty());
    EXPECT_EQ(w().SelectedName, QStringLiteral("EMPTY"));
    EXPECT_EQ(w().MousePointer(), 0);
}

TEST(NodeClickOverflow, ShownOnlyUnderTheSwitch) {
    MainWindowHarness h(QStringLiteral("/SHOWOVERFLOW"));
    h.window->Load();
    h.window->NodeClick(h.Name(QStringLiteral("Определяемый приложением ресурс"), QStringLiteral("EMPTY")));
    ASSERT_EQ(h.ui.messages.size(), 1u);
    EXPECT_EQ(h.ui.messages[0].text, QStringLiteral("Критическое переполнение в программе!"));
    EXPECT_EQ(h.endCalls, 0);
}

TEST(NodeClickLarge, LongDumpsAskFirst) {
    // The type library of Wine's shell32.dll (20,400 bytes) has no decoder of its own.
    MainWindowHarness h{QString(), QString()};
    h.window->Load();
    if (!h.Type(QStringLiteral("TYPELIB")).isValid()) GTEST_SKIP() << "Wine's shell32.dll is not installed";
    h.window->show();
    h.ui.answers = {MsgAnswer::No, MsgAnswer::Yes};
    QModelIndex typelib = h.Name(QStringLiteral("TYPELIB"), QStringLiteral("1"));
    h.window->NodeClick(typelib);
    ASSERT_EQ(h.ui.messages.size(), 1u);
    const MessageRequest &q = h.ui.messages[0];
    EXPECT_EQ(q.text, QStringLiteral("Текст слишком велик, чтобы отобразить его в текстовом поле.\r\n"
                                     "Всё равно попробовать загрузить?"));
    EXPECT_EQ(q.title, QStringLiteral("Внимание"));
    EXPECT_EQ(q.buttons, MsgButtons::YesNo);
    EXPECT_EQ(q.icon, MsgIcon::Warning);
    EXPECT_EQ(q.defaultButton, 2);
    EXPECT_EQ(h.window->TStrings->text(), QStringLiteral("Невозможно загрузить ресурс."));
    EXPECT_EQ(h.window->TStrings->font().family(), QStringLiteral("MS Sans Serif"));
    // Yes: the whole dump, every line of it.
    h.window->NodeClick(typelib);
    EXPECT_EQ(h.window->TStrings->text().size(), (20400 + 15) / 16 * 79);
}
