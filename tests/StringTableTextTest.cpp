// String tables over blocks built by a real resource compiler, PE32 and PE32+, and over cut data.
#include "decoders/StringTableText.h"
#include "OpenedModule.h"
#include "decoders/ResourceAccess.h"

#include <gtest/gtest.h>

namespace {
class StringTableFixture : public testing::TestWithParam<const char *> {
protected:
    OpenedModule module{FixturePath(QStringLiteral("strtab%1.dll").arg(QLatin1String(GetParam())))};
};
} // namespace

TEST_P(StringTableFixture, RendersTheFirstBlockLineByLine) {
    ASSERT_TRUE(module.loaded());
    // Identifiers 0 to 15; absent entries give no line and do not shift the ones after them. The
    // line feed in 2 breaks the line, the NUL in 3 ends it, CR CR LF in 4 stays, the break at the
    // end of 6 leaves an empty line, "&" and the tab in 7 stay.
    EXPECT_EQ(StringTableText(module, module.Entry(QStringLiteral("6"), QStringLiteral("#1"))),
              QStringLiteral("0  Zero\r\n"
                             "1  Open\r\n"
                             "2  Line one\r\nLine two\r\n"
                             "3  Before\r\n"
                             "4  CR\r\r\nLF\r\n"
                             "6  Ends with a break\r\n\r\n"
                             "7  Кириллица & tab\there\r\n"
                             "15  Fifteen\r\n"));
}

TEST_P(StringTableFixture, NumbersLinesByTheBlock) {
    ASSERT_TRUE(module.loaded());
    EXPECT_EQ(StringTableText(module, module.Entry(QStringLiteral("6"), QStringLiteral("#2"))),
              QStringLiteral("21  Only entry five\r\n"));
    EXPECT_EQ(StringTableText(module, module.Entry(QStringLiteral("6"), QStringLiteral("#4096"))),
              QStringLiteral("65520  First of the last block\r\n65535  Last\r\n"));
    // Sixteen absent strings: nothing to show.
    EXPECT_EQ(StringTableText(module, module.Entry(QStringLiteral("6"), QStringLiteral("#3"))), QString());
}

TEST_P(StringTableFixture, FailsOnBlocksItCannotRead) {
    ASSERT_TRUE(module.loaded());
    // Cut inside an entry's text, cut before the sixteenth entry, a named block, a missing block.
    for (const char *name : {"#4", "#5", "NAMED", "#77"})
        EXPECT_EQ(FailureCode([&] {
                      StringTableText(module, module.Entry(QStringLiteral("6"), QLatin1String(name)));
                  }),
                  9)
            << name;
}

INSTANTIATE_TEST_SUITE_P(Pe32AndPe32Plus, StringTableFixture, testing::Values("32", "64"));

TEST(StringTableBytes, EveryCutOfABlockFails) {
    OpenedModule module(FixturePath(QStringLiteral("strtab32.dll")));
    const auto block = GetResourceBytes(module, module.Entry(QStringLiteral("6"), QStringLiteral("#1")));
    ASSERT_TRUE(block.has_value());
    ASSERT_FALSE(StringTableText(*block, 1).isEmpty());
    for (std::size_t size = 0; size < block->size(); ++size)
        EXPECT_EQ(FailureCode([&] { StringTableText(std::span(*block).first(size), 1); }), 9) << size;
}

TEST(StringTableBytes, IdentifiersFollowTheBlockNumber) {
    // Entry 5 present alone, in block 1 and in the highest block an integer name can give.
    std::vector<std::byte> block(32 + 2);
    block[10] = std::byte{1};
    block[12] = std::byte{'x'};
    EXPECT_EQ(StringTableText(block, 1), QStringLiteral("5  x\r\n"));
    EXPECT_EQ(StringTableText(block, 65535), QStringLiteral("1048549  x\r\n"));
    // Block 0 (an identifier the directory allows) numbers its strings below zero.
    EXPECT_EQ(StringTableText(block, 0), QStringLiteral("-11  x\r\n"));
    // A block number whose identifiers do not fit 32 bits is an overflow.
    EXPECT_EQ(FailureCode([&] { StringTableText(block, 0x7FFFFFFF); }), 6);
}
