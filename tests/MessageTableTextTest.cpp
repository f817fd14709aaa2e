// Message tables compiled by the message compiler and built by hand.
#include "decoders/MessageTableText.h"
#include "OpenedModule.h"
#include "decoders/ResourceAccess.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {
class MessageTableFixture : public testing::TestWithParam<const char *> {
protected:
    OpenedModule module{FixturePath(QStringLiteral("msgtab%1.dll").arg(QLatin1String(GetParam())))};
};

void Put32(QByteArray &out, std::uint32_t v) {
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}
void Put16(QByteArray &out, std::uint16_t v) {
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}
} // namespace

TEST_P(MessageTableFixture, RendersUtf16MessagesOfTheMessageCompiler) {
    ASSERT_TRUE(module.loaded());
    // The compiler ends each message with a lone line feed, which becomes CR LF; an error
    // severity sets the identifier's highest bits, so it prints as a negative number.
    EXPECT_EQ(MessageTableText(module, module.Entry(QStringLiteral("11"), QStringLiteral("#1"))),
              QStringLiteral("1  Готово\r\n2  Done: %1\r\n-1073741819  Нарушение доступа\r\n"));
}

TEST_P(MessageTableFixture, RendersAnsiBlocksInTableOrder) {
    ASSERT_TRUE(module.loaded());
    // Block 20 first: its entry of length 4 has no text and no break, so block 10 runs on in the
    // same line. Flags 0 and 2 are both ANSI (Windows-1251). The zero length ends block 10..13.
    EXPECT_EQ(MessageTableText(module, module.Entry(QStringLiteral("11"), QStringLiteral("#2"))),
              QStringLiteral("20  10  Готово\r\n11  Flag 2\r\n"));
    // The largest identifier ends its block without the counter wrapping round.
    EXPECT_EQ(MessageTableText(module, module.Entry(QStringLiteral("11"), QStringLiteral("#3"))),
              QStringLiteral("2147483646  A\r\n2147483647  B\r\n"));
    // An entry of length 2 ends its block; a block 9..8 shows nothing; a message without a break
    // runs on into the next.
    EXPECT_EQ(MessageTableText(module, module.Entry(QStringLiteral("11"), QStringLiteral("#4"))),
              QStringLiteral("1  One\r\n7  Run8  on\r\n"));
    EXPECT_EQ(MessageTableText(module, module.Entry(QStringLiteral("11"), QStringLiteral("#5"))), QString());
}

TEST_P(MessageTableFixture, FailsOnTablesOutsideTheirBytes) {
    ASSERT_TRUE(module.loaded());
    // A block table past the data, an entry past the data, a missing table.
    for (const char *name : {"#6", "#7", "#8"})
        EXPECT_EQ(FailureCode([&] {
                      MessageTableText(module, module.Entry(QStringLiteral("11"), QLatin1String(name)));
                  }),
                  9)
            << name;
}

INSTANTIATE_TEST_SUITE_P(Pe32AndPe32Plus, MessageTableFixture, testing::Values("32", "64"));

TEST(MessageTableBytes, EveryCutOfATableFailsOrShowsLess) {
    OpenedModule module(FixturePath(QStringLiteral("msgtab32.dll")));
    for (const char *name : {"#1", "#2", "#4"}) {
        const auto bytes = GetResourceBytes(module, module.Entry(QStringLiteral("11"), QLatin1String(name)));
        ASSERT_TRUE(bytes.has_value());
        const QString whole = MessageTableText(*bytes);
        for (std::size_t size = 0; size < bytes->size(); ++size) {
            QString text;
            const auto code = FailureCode([&] { text = MessageTableText(std::span(*bytes).first(size)); });
            // A cut may only remove what the table does not reach (padding after the last entry).
            EXPECT_TRUE(code == 9 || text == whole) << name << " cut at " << size;
        }
    }
}

TEST(MessageTableBytes, CountsAndIdentifiersAtTheirLimits) {
    QByteArray table;
    Put32(table, 0xFFFFFFFF); // a negative block count
    EXPECT_EQ(FailureCode([&] { MessageTableText(ByteVector(table)); }), 9);
    table.clear();
    Put32(table, 0x7FFFFFFF); // a count whose block table cannot be there
    EXPECT_EQ(FailureCode([&] { MessageTableText(ByteVector(table)); }), 9);

    // The smallest identifiers, and UTF-16 text whose byte count is odd (the odd byte is dropped).
    table.clear();
    Put32(table, 1);
    Put32(table, 0x80000000u);
    Put32(table, 0x80000001u);
    Put32(table, 16);
    Put16(table, 9), Put16(table, 1), table.append("Z\0\n\0x", 5);
    Put16(table, 8), Put16(table, 1), table.append("Y\0\n\0", 4);
    EXPECT_EQ(MessageTableText(ByteVector(table)), QStringLiteral("-2147483648  Z\r\n-2147483647  Y\r\n"));
}

TEST(MessageTableBytes, SharedEntriesCannotGrowTheRenderingWithoutBound) {
    // 2,000 blocks that all point at the same 1,000 entries of 4 bytes: two million lines from
    // 28 KB. Past the bound the rendering fails as if memory ran out.
    constexpr int kBlocks = 2000, kEntries = 1000;
    QByteArray table;
    Put32(table, kBlocks);
    const std::uint32_t entries = 4 + 12 * kBlocks;
    for (int i = 0; i < kBlocks; ++i)
        Put32(table, 0), Put32(table, kEntries - 1), Put32(table, entries);
    for (int i = 0; i < kEntries; ++i)
        Put16(table, 4), Put16(table, 0);
    const auto bytes = ByteVector(table);
    EXPECT_EQ(FailureCode([&] { MessageTableText(bytes, 1'000'000); }), 7);
    // Below the bound the same table renders in full: identifiers of 1, 2 and 3 digits, two blanks.
    EXPECT_EQ(MessageTableText(bytes, 20'000'000).size(), kBlocks * (10 * 3 + 90 * 4 + 900 * 5));
}
