// Accelerator tables built by a real resource compiler and by hand, and the key-name table.
#include "decoders/AcceleratorText.h"
#include "OpenedModule.h"

#include <gtest/gtest.h>

namespace {
class AcceleratorFixture : public testing::TestWithParam<const char *> {
protected:
    OpenedModule module{FixturePath(QStringLiteral("accel%1.dll").arg(QLatin1String(GetParam())))};
};
} // namespace

TEST_P(AcceleratorFixture, RendersEveryEntry) {
    ASSERT_TRUE(module.loaded());
    // Modifiers always in the order Shift, Ctrl, Alt; a character key ("a" is 97) is still named as
    // a virtual key; keypad and system keys have no name; keys and identifiers are signed 16-bit.
    EXPECT_EQ(AcceleratorText(module, module.Entry(QStringLiteral("9"), QStringLiteral("#1"))),
              QStringLiteral("SHIFT+CTRL+S (cmdID = -25535)\r\n"
                             "ALT+F4 (cmdID = 101)\r\n"
                             "SHIFT+CTRL+ALT+DEL (cmdID = 5)\r\n"
                             "VIRTUAL KEY 97 (cmdID = 7)\r\n"
                             "VIRTUAL KEY 96 (cmdID = 8)\r\n"
                             "VIRTUAL KEY 91 (cmdID = 9)\r\n"
                             "NUM LOCK (cmdID = 10)\r\n"
                             "VIRTUAL KEY -1 (cmdID = 32767)\r\n"
                             "0 (cmdID = -32768)\r\n"));
}

TEST_P(AcceleratorFixture, IgnoresBytesAfterTheLastWholeEntry) {
    ASSERT_TRUE(module.loaded());
    // 27 bytes: three entries; the one after the last-entry flag is shown too.
    EXPECT_EQ(AcceleratorText(module, module.Entry(QStringLiteral("9"), QStringLiteral("#27"))),
              QStringLiteral("ALT+F4 (cmdID = 101)\r\n"
                             "CTRL+F1 (cmdID = -1)\r\n"
                             "CTRL+CANCEL (cmdID = 200)\r\n"));
    // Less than one entry, and a missing table.
    EXPECT_EQ(FailureCode(
                  [&] { AcceleratorText(module, module.Entry(QStringLiteral("9"), QStringLiteral("#7"))); }),
              9);
    EXPECT_EQ(FailureCode(
                  [&] { AcceleratorText(module, module.Entry(QStringLiteral("9"), QStringLiteral("#8"))); }),
              9);
}

INSTANTIATE_TEST_SUITE_P(Pe32AndPe32Plus, AcceleratorFixture, testing::Values("32", "64"));

TEST(AcceleratorBytes, EntryCountIsTheSizeDividedByEight) {
    std::vector<std::byte> table(8 * 3 + 7);
    for (std::size_t i = 0; i < 3; ++i)
        table[i * 8 + 2] = std::byte{'A'};
    for (std::size_t size = 0; size <= table.size(); ++size) {
        const auto count = size / 8;
        const auto code = FailureCode([&] {
            EXPECT_EQ(
                AcceleratorText(std::span(table).first(size)).count(QStringLiteral("A (cmdID = 0)\r\n")),
                static_cast<qsizetype>(count));
        });
        EXPECT_EQ(code, count == 0 ? std::optional<int>(9) : std::nullopt) << size;
    }
}

TEST(KeyName, NamesEveryKeyOfTheTable) {
    const struct {
        int code;
        const char *name;
    } named[] = {
        {3, "CANCEL"},       {8, "BACKSPACE"},
        {9, "TAB"},          {12, "CLEAR"},
        {13, "ENTER"},       {16, "SHIFT"},
        {17, "CTRL"},        {18, "MENU"},
        {19, "PAUSE"},       {20, "CAPS LOCK"},
        {27, "ESC"},         {32, "SPACEBAR"},
        {33, "PAGE UP"},     {34, "PAGE DOWN"},
        {35, "END"},         {36, "HOME"},
        {37, "LEFT ARROW"},  {38, "UP ARROW"},
        {39, "RIGHT ARROW"}, {40, "DOWN ARROW"},
        {41, "SELECT"},      {42, "PRINT SCREEN"},
        {43, "EXECUTE"},     {44, "SNAPSHOT"},
        {45, "INS"},         {46, "DEL"},
        {47, "HELP"},        {144, "NUM LOCK"},
        {48, "0"},           {57, "9"},
        {65, "A"},           {90, "Z"},
        {112, "F1"},         {121, "F10"},
        {127, "F16"},
    };
    for (const auto &k : named)
        EXPECT_EQ(KeyName(k.code), QLatin1String(k.name)) << k.code;
    for (int code = '0'; code <= '9'; ++code)
        EXPECT_EQ(KeyName(code), QString(QChar(code)));
    for (int code = 'A'; code <= 'Z'; ++code)
        EXPECT_EQ(KeyName(code), QString(QChar(code)));
    for (int code = 112; code <= 127; ++code)
        EXPECT_EQ(KeyName(code), QStringLiteral("F%1").arg(code - 111));
}

TEST(KeyName, OtherCodesAreVirtualKeysByNumber) {
    // Every code outside the table, including the gaps between its ranges and negative codes.
    int unnamed = 0;
    for (int code = -32768; code <= 32767; ++code) {
        const bool inTable = (code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z') ||
                             (code >= 112 && code <= 127) || code == 3 || code == 8 || code == 9 ||
                             code == 12 || code == 13 || (code >= 16 && code <= 20) || code == 27 ||
                             (code >= 32 && code <= 47) || code == 144;
        if (inTable) continue;
        ++unnamed;
        ASSERT_EQ(KeyName(code), QStringLiteral("VIRTUAL KEY ") + QString::number(code)) << code;
    }
    EXPECT_EQ(unnamed, 65536 - 10 - 26 - 16 - 28);
}
