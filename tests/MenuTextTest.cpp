// Menus over templates built by a real resource compiler (standard and extended), and over
// hand-built and cut templates.
#include "decoders/MenuText.h"
#include "OpenedModule.h"
#include "decoders/ResourceAccess.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {
class MenuFixture : public testing::TestWithParam<const char *> {
protected:
    OpenedModule module{FixturePath(QStringLiteral("menus%1.dll").arg(QLatin1String(GetParam())))};
};

// A standard template, built word by word.
class StandardTemplate {
public:
    StandardTemplate() { Word(0), Word(0); }
    StandardTemplate &Popup(const QString &text, bool last = false) {
        return Item(0x10 | (last ? 0x80 : 0), -1, text);
    }
    StandardTemplate &Command(std::uint16_t id, const QString &text, bool last = false,
                              std::uint16_t flags = 0) {
        return Item(flags | (last ? 0x80 : 0), id, text);
    }
    std::vector<std::byte> bytes() const { return ByteVector(data_); }

private:
    StandardTemplate &Word(std::uint16_t w) {
        const std::uint16_t le = qToLittleEndian(w);
        data_.append(reinterpret_cast<const char *>(&le), 2);
        return *this;
    }
    StandardTemplate &Item(int flags, int id, const QString &text) {
        Word(static_cast<std::uint16_t>(flags));
        if (id >= 0) Word(static_cast<std::uint16_t>(id));
        for (QChar c : text)
            Word(c.unicode());
        return Word(0);
    }
    QByteArray data_;
};

QString Sep(int depth) {
    return QString(depth * 4, QLatin1Char('.')) + QStringLiteral("[Разделитель]\r\n");
}
} // namespace

TEST_P(MenuFixture, StandardTemplateThreeLevelsDeep) {
    ASSERT_TRUE(module.loaded());
    // Popups of a standard template carry no identifier: 0. An empty text with a bar break is a
    // separator the query does not report as exactly 0x800: an empty text and its identifier. A
    // standard template's identifiers are 16-bit: -1 in the source is 65535. "ß" is not in
    // Windows-1251, "€" is.
    EXPECT_EQ(MenuText(module, module.Entry(QStringLiteral("4"), QStringLiteral("#1"))),
              QStringLiteral("&File (cmdID = 0)\r\n"
                             "....&Open\tCtrl+O (cmdID = 100)\r\n") +
                  Sep(1) +
                  QStringLiteral("....&Recent (cmdID = 0)\r\n"
                                 "........Первый файл (cmdID = 110)\r\n"
                                 "........&More (cmdID = 0)\r\n"
                                 "............Deep (cmdID = 120)\r\n") +
                  Sep(3) +
                  QStringLiteral("....E&xit (cmdID = 101)\r\n"
                                 " (cmdID = 7)\r\n"
                                 "&Help (cmdID = 65535)\r\n"
                                 "Stra?e € (cmdID = 102)\r\n"));
}

TEST_P(MenuFixture, ExtendedTemplateThreeLevelsDeep) {
    ASSERT_TRUE(module.loaded());
    // Extended popups keep their identifiers; 0x820 is not a plain separator; owner-drawn and
    // bitmap items show no text; identifiers are signed 32-bit; an empty text item becomes a
    // separator, an empty popup text does not.
    EXPECT_EQ(MenuText(module, module.Entry(QStringLiteral("4"), QStringLiteral("#2"))),
              QStringLiteral("&Edit (cmdID = 200)\r\n"
                             "....&Undo (cmdID = 201)\r\n") +
                  Sep(1) +
                  QStringLiteral(".... (cmdID = 202)\r\n"
                                 "....Level two (cmdID = 203)\r\n"
                                 "........Level three (cmdID = 204)\r\n"
                                 "............Leaf (cmdID = 205)\r\n") +
                  Sep(3) +
                  QStringLiteral(".... (cmdID = 206)\r\n"
                                 ".... (cmdID = 207)\r\n"
                                 "....Negative (cmdID = -5)\r\n") +
                  Sep(1) +
                  QStringLiteral(" (cmdID = 300)\r\n"
                                 "....Child (cmdID = 301)\r\n"));
}

TEST_P(MenuFixture, EmptyWhenTheMenuCannotBeBuilt) {
    ASSERT_TRUE(module.loaded());
    EXPECT_EQ(MenuText(module, module.Entry(QStringLiteral("4"), QStringLiteral("CONTEXT"))),
              QStringLiteral("Context (cmdID = 0)\r\n....Named (cmdID = 400)\r\n"));
    // An empty menu, a template cut inside an item, an unknown version, a missing menu.
    for (const char *name : {"#3", "#5", "#6", "#99", "NOTHING"})
        EXPECT_EQ(MenuText(module, module.Entry(QStringLiteral("4"), QLatin1String(name))), QString())
            << name;
}

INSTANTIATE_TEST_SUITE_P(Pe32AndPe32Plus, MenuFixture, testing::Values("32", "64"));

TEST(MenuTemplateBytes, EveryCutTemplateGivesNothingOrTheWholeMenu) {
    OpenedModule module(FixturePath(QStringLiteral("menus32.dll")));
    for (const char *name : {"#1", "#2"}) {
        const auto bytes = GetResourceBytes(module, module.Entry(QStringLiteral("4"), QLatin1String(name)));
        ASSERT_TRUE(bytes.has_value());
        const QString whole = MenuTextFromTemplate(*bytes);
        ASSERT_FALSE(whole.isEmpty());
        // A template shorter than its last item cannot be built; only trailing padding may go.
        for (std::size_t size = 0; size < bytes->size(); ++size) {
            const QString text = MenuTextFromTemplate(std::span(*bytes).first(size));
            EXPECT_TRUE(text.isEmpty() || (text == whole && size + 4 > bytes->size()))
                << name << " cut at " << size;
        }
    }
}

TEST(MenuTemplateBytes, NestingIsBoundedAndBoundsTheRecursion) {
    const auto nested = [](int popups) {
        StandardTemplate t;
        for (int i = 0; i < popups; ++i)
            t.Popup(QStringLiteral("p"), true);
        t.Command(1, QStringLiteral("leaf"), true);
        return t.bytes();
    };
    // kMaxMenuDepth levels below the bar are built; one more and the template is refused.
    const QString deepest = MenuTextFromTemplate(nested(kMaxMenuDepth));
    EXPECT_TRUE(deepest.endsWith(QString(kMaxMenuDepth * 4, QLatin1Char('.')) +
                                 QStringLiteral("leaf (cmdID = 1)\r\n")));
    EXPECT_EQ(deepest.count(QStringLiteral("\r\n")), kMaxMenuDepth + 1);
    EXPECT_EQ(MenuTextFromTemplate(nested(kMaxMenuDepth + 1)), QString());
    // Hostile nesting as deep as the data allows never exhausts the stack.
    EXPECT_EQ(MenuTextFromTemplate(nested(200000)), QString());
}

TEST(MenuTemplateBytes, ItemTextsAsTheAnsiQueryGivesThem) {
    // The query's buffer holds 254 characters and the terminator.
    const QString longText(300, QLatin1Char('x'));
    StandardTemplate t;
    t.Command(9, longText, true);
    EXPECT_EQ(MenuTextFromTemplate(t.bytes()),
              QString(254, QLatin1Char('x')) + QStringLiteral(" (cmdID = 9)\r\n"));

    const auto menu =
        LoadMenuFromTemplate(StandardTemplate().Command(1, QStringLiteral("Ж日"), true).bytes());
    ASSERT_TRUE(menu.has_value());
    ASSERT_EQ(menu->items.size(), 1u);
    EXPECT_EQ(menu->items[0].text, QStringLiteral("Ж日"));
    EXPECT_EQ(MenuItemTextAnsi(menu->items[0], 255), QStringLiteral("Ж?"));
}

TEST(MenuTemplateBytes, StandardFlagsBecomeTypeAndState) {
    // Grayed (1) and checked (8) are state; the end marker (0x80) is neither; a break (0x40) is
    // type; the item that ends the bar is still read.
    const auto menu = LoadMenuFromTemplate(StandardTemplate()
                                               .Command(1, QStringLiteral("a"), false, 0x0009)
                                               .Command(2, QString(), false, 0x0040)
                                               .Command(3, QStringLiteral("c"), true, 0x0100)
                                               .bytes());
    ASSERT_TRUE(menu.has_value());
    ASSERT_EQ(menu->items.size(), 3u);
    EXPECT_EQ(menu->items[0].state, 0x9u);
    EXPECT_EQ(menu->items[0].type, 0u);
    EXPECT_EQ(menu->items[1].type, 0x840u); // empty text: a separator that also breaks the column
    EXPECT_EQ(menu->items[2].type, 0x100u); // owner-drawn, no text for the query
    EXPECT_EQ(MenuItemTextAnsi(menu->items[2], 255), QString());
    EXPECT_EQ(menu->items[2].state, 0u);
}

TEST(MenuTemplateBytes, NoDataOrAHeaderAloneGivesNoLines) {
    EXPECT_EQ(MenuTextFromTemplate({}), QString());
    // The header alone is an empty menu, for both versions.
    EXPECT_TRUE(LoadMenuFromTemplate(StandardTemplate().bytes()).has_value());
    const std::vector<std::byte> extendedHeader =
        ByteVector(QByteArray("\x01\x00\x04\x00\x00\x00\x00\x00", 8));
    ASSERT_TRUE(LoadMenuFromTemplate(extendedHeader).has_value());
    EXPECT_TRUE(LoadMenuFromTemplate(extendedHeader)->items.empty());
}
