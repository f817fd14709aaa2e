// The dialog-template reader: both template forms as a real resource compiler writes them, the
// format's quirks on hand-made bytes, and input that is cut short or lies about its counts.
#include "formats/DialogTemplate.h"
#include "Fixtures.h"
#include "TemplateBytes.h"
#include "formats/WindowStyles.h"
#include "resources/ModuleCatalogue.h"
#include "system/ErrorReport.h"

#include <gtest/gtest.h>
#include <vector>

namespace {
using Bytes = TemplateBytes;

std::vector<std::byte> FixtureTemplate(const char *bits, const ResourceId &name) {
    const auto module =
        ModuleCatalogue::Open(FixturePath(QStringLiteral("dialogs%1.dll").arg(QLatin1String(bits))));
    if (!module) return {};
    const auto data = module->Bytes({ResourceId::fromNumber(5), name});
    if (!data) return {};
    return {data->begin(), data->end()};
}

int FailureCode(std::span<const std::byte> bytes) {
    try {
        ReadDialogTemplate(bytes);
    } catch (const ErrorReport &e) {
        return e.code();
    }
    return 0;
}

class FixtureTemplates : public testing::TestWithParam<const char *> {};
} // namespace

TEST_P(FixtureTemplates, StandardTemplateFields) {
    const auto bytes = FixtureTemplate(GetParam(), ResourceId::fromNumber(100));
    ASSERT_FALSE(bytes.empty());
    const DialogTemplate d = ReadDialogTemplate(bytes);
    EXPECT_FALSE(d.extended);
    EXPECT_EQ(d.style,
              Win::DS_SETFONT | Win::DS_MODALFRAME | Win::WS_POPUP | Win::WS_CAPTION | Win::WS_SYSMENU);
    EXPECT_EQ((std::array<int, 4>{d.x, d.y, d.cx, d.cy}), (std::array<int, 4>{20, 20, 300, 220}));
    EXPECT_TRUE(d.menu.isNone());
    EXPECT_TRUE(d.windowClass.isNone());
    EXPECT_EQ(d.title.text, QStringLiteral("Стандартный"));
    ASSERT_TRUE(d.font);
    EXPECT_EQ(d.font->pointSize, 8);
    EXPECT_EQ(d.font->face, QStringLiteral("MS Shell Dlg"));
    ASSERT_EQ(d.items.size(), 39u);

    const DialogItem &ok = d.items[0];
    EXPECT_EQ(ok.id, 1u);
    EXPECT_EQ(ok.style & Win::BS_TYPEMASK, Win::BS_DEFPUSHBUTTON);
    EXPECT_EQ(ok.title.text, QStringLiteral("&OK"));
    EXPECT_TRUE(ok.windowClass.isOrdinal());
    EXPECT_EQ(ok.windowClass.ordinal, kButtonClass);
    EXPECT_EQ((std::array<int, 4>{ok.x, ok.y, ok.cx, ok.cy}), (std::array<int, 4>{240, 6, 50, 14}));

    // ICON 101: a static whose title is the ordinal of the icon resource.
    const auto icon =
        std::find_if(d.items.begin(), d.items.end(), [](const DialogItem &i) { return i.id == 34; });
    ASSERT_NE(icon, d.items.end());
    EXPECT_TRUE(icon->title.isOrdinal());
    EXPECT_EQ(icon->title.resourceId(), ResourceId::fromNumber(101));
    EXPECT_EQ(icon->style & Win::SS_TYPEMASK, Win::SS_ICON);
    const auto bitmap =
        std::find_if(d.items.begin(), d.items.end(), [](const DialogItem &i) { return i.id == 35; });
    ASSERT_NE(bitmap, d.items.end());
    EXPECT_EQ(bitmap->title.resourceId(), ResourceId::fromName(QStringLiteral("PICTURE")));
    // The last item ends the template, give or take the padding after it.
    EXPECT_LE(d.end, bytes.size());
    EXPECT_GE(d.end + 3, bytes.size());
}

TEST_P(FixtureTemplates, ExtendedTemplateFields) {
    const auto bytes = FixtureTemplate(GetParam(), ResourceId::fromNumber(200));
    ASSERT_FALSE(bytes.empty());
    const DialogTemplate d = ReadDialogTemplate(bytes);
    EXPECT_TRUE(d.extended);
    EXPECT_EQ(d.style & Win::DS_SHELLFONT, Win::DS_SHELLFONT);
    ASSERT_TRUE(d.font);
    EXPECT_EQ(d.font->pointSize, 9);
    EXPECT_EQ(d.font->weight, 700);
    EXPECT_TRUE(d.font->italic);
    EXPECT_EQ(d.font->charset, 204);
    EXPECT_EQ(d.font->face, QStringLiteral("MS Shell Dlg"));
    ASSERT_EQ(d.items.size(), 23u);
    // Common controls are named by their class names (the compiler writes them upper-cased).
    EXPECT_EQ(d.items[0].windowClass.text.toUpper(), QStringLiteral("SYSLISTVIEW32"));
    EXPECT_TRUE(d.items[2].windowClass.isString());
    EXPECT_EQ(d.items[0].id, 100u);
    EXPECT_EQ(d.items[13].title.text, QStringLiteral("See <a href=\"http://example.org\">the site</a> now"));

    const auto named = FixtureTemplate(GetParam(), ResourceId::fromName(QStringLiteral("OWNCLASS")));
    const DialogTemplate own = ReadDialogTemplate(named);
    EXPECT_EQ(own.windowClass.text.toUpper(), QStringLiteral("MYDIALOGCLASS"));
    const DialogTemplate noFont =
        ReadDialogTemplate(FixtureTemplate(GetParam(), ResourceId::fromNumber(302)));
    EXPECT_FALSE(noFont.font);
    EXPECT_EQ(noFont.items.size(), 1u);
}

TEST_P(FixtureTemplates, EveryCutIsRefusedWithCode9) {
    for (const auto &name : {ResourceId::fromNumber(100), ResourceId::fromNumber(200)}) {
        const auto bytes = FixtureTemplate(GetParam(), name);
        ASSERT_FALSE(bytes.empty());
        const std::size_t end = ReadDialogTemplate(bytes).end;
        for (std::size_t cut = 0; cut < end; ++cut)
            ASSERT_EQ(FailureCode(std::span<const std::byte>(bytes).first(cut)), ErrorReport::OutOfRange)
                << cut;
    }
}

INSTANTIATE_TEST_SUITE_P(Pe32AndPe32Plus, FixtureTemplates, testing::Values("32", "64"));

TEST(DialogTemplateQuirks, NamesOrdinalsAlignmentAndCreationData) {
    // A standard template: menu by ordinal, class by name, odd-length strings before items (so the
    // items must skip to the next DWORD), creation data of four bytes on the first item.
    Bytes b;
    b.u32(Win::WS_POPUP).u32(Win::WS_EX_CLIENTEDGE).u16(2).u16(1).u16(2).u16(30).u16(40);
    b.ordinal(7).str("Cls").str("T");
    b.align4();
    b.u32(Win::WS_CHILD).u32(0).u16(static_cast<std::uint16_t>(-3)).u16(4).u16(5).u16(6).u16(10);
    b.ordinal(kStaticClass).ordinal(300).u16(4).u32(0xDEADBEEF);
    b.align4();
    b.u32(Win::WS_CHILD).u32(0).u16(0).u16(0).u16(1).u16(1).u16(11);
    b.str("SysLink").str("link").u16(0);
    const DialogTemplate d = ReadDialogTemplate(b.span());
    EXPECT_EQ(d.exStyle, Win::WS_EX_CLIENTEDGE);
    EXPECT_EQ(d.menu, (NameOrOrdinal{NameOrOrdinal::Kind::Ordinal, 7, {}}));
    EXPECT_EQ(d.windowClass.text, QStringLiteral("Cls"));
    EXPECT_EQ(d.title.text, QStringLiteral("T"));
    EXPECT_FALSE(d.font);
    ASSERT_EQ(d.items.size(), 2u);
    EXPECT_EQ(d.items[0].x, -3);
    EXPECT_EQ(d.items[0].id, 10u);
    EXPECT_EQ(d.items[0].title.resourceId(), ResourceId::fromNumber(300));
    EXPECT_EQ(d.items[0].creationDataSize, 4);
    EXPECT_EQ(d.items[1].windowClass.text, QStringLiteral("SysLink"));
    EXPECT_EQ(d.items[1].title.text, QStringLiteral("link"));
    EXPECT_EQ(d.end, b.size());
}

TEST(DialogTemplateQuirks, ExtendedItemsHave32BitIdsAndHelpIds) {
    Bytes b;
    b.u16(1).u16(0xFFFF).u32(77).u32(0).u32(Win::WS_CHILD | Win::DS_SETFONT).u16(1);
    b.u16(0).u16(0).u16(10).u16(10).u16(0).u16(0).u16(0);
    b.u16(8).u16(400).u8(0).u8(1).str("Tahoma");
    b.align4();
    b.u32(99).u32(Win::WS_EX_STATICEDGE).u32(Win::WS_CHILD).u16(1).u16(2).u16(3).u16(4).u32(0x12345678);
    b.ordinal(kButtonClass).str("Go").u16(0);
    const DialogTemplate d = ReadDialogTemplate(b.span());
    EXPECT_TRUE(d.extended);
    EXPECT_EQ(d.helpId, 77u);
    ASSERT_TRUE(d.font);
    EXPECT_EQ(d.font->weight, 400);
    EXPECT_FALSE(d.font->italic);
    EXPECT_EQ(d.font->face, QStringLiteral("Tahoma"));
    ASSERT_EQ(d.items.size(), 1u);
    EXPECT_EQ(d.items[0].helpId, 99u);
    EXPECT_EQ(d.items[0].exStyle, Win::WS_EX_STATICEDGE);
    EXPECT_EQ(d.items[0].id, 0x12345678u);
    EXPECT_EQ(d.items[0].title.text, QStringLiteral("Go"));
}

TEST(DialogTemplateBadInput, LyingCountsAndEndlessStringsFailWithCode9) {
    auto bytes = FixtureTemplate("32", ResourceId::fromNumber(100));
    ASSERT_FALSE(bytes.empty());
    // The item count of a standard template is the word at offset 8.
    for (const unsigned count : {40u, 1000u, 65535u}) {
        auto patched = bytes;
        patched[8] = static_cast<std::byte>(count & 0xFF);
        patched[9] = static_cast<std::byte>(count >> 8);
        EXPECT_EQ(FailureCode(patched), ErrorReport::OutOfRange) << count;
    }
    // Creation data longer than what is left.
    Bytes b;
    b.u32(Win::WS_POPUP).u32(0).u16(1).u16(0).u16(0).u16(10).u16(10).u16(0).u16(0).u16(0).align4();
    b.u32(0).u32(0).u16(0).u16(0).u16(1).u16(1).u16(1).ordinal(kButtonClass).u16(0).u16(200).u32(0);
    EXPECT_EQ(FailureCode(b.span()), ErrorReport::OutOfRange);
    // A title that never ends.
    Bytes title;
    title.u32(Win::WS_POPUP).u32(0).u16(0).u16(0).u16(0).u16(10).u16(10).u16(0).u16(0);
    for (int i = 0; i < 50; ++i)
        title.u16('x');
    EXPECT_EQ(FailureCode(title.span()), ErrorReport::OutOfRange);
    EXPECT_EQ(FailureCode({}), ErrorReport::OutOfRange);
}
