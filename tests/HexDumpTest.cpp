// The hexadecimal dump and the HTML text, column for column.
#include "decoders/HexDump.h"
#include "system/AnsiCodePage.h"

#include <gtest/gtest.h>
#include <vector>

namespace {
QString Dump(const std::vector<int> &values) {
    std::vector<std::byte> bytes;
    for (int v : values)
        bytes.push_back(static_cast<std::byte>(v));
    return HexDump(bytes);
}
std::vector<int> Range(int from, int count) {
    std::vector<int> v;
    for (int i = 0; i < count; ++i)
        v.push_back((from + i) & 0xFF);
    return v;
}
} // namespace

TEST(HexDump, ThreeBytesInCodePage1251) {
    EXPECT_EQ(Dump({0x41, 0x0D, 0xFF}), QStringLiteral("00000000:  41 0D FF ") +
                                            QString(39, QLatin1Char(' ')) + QStringLiteral("  A.я") +
                                            QString(13, QLatin1Char('.')) + QStringLiteral("\r\n"));
}

TEST(HexDump, FullAndPartialLines) {
    const QString sixteen = Dump(Range(0x30, 16));
    EXPECT_EQ(
        sixteen,
        QStringLiteral("00000000:  30 31 32 33 34 35 36 37 38 39 3A 3B 3C 3D 3E 3F   0123456789:;<=>?\r\n"));
    EXPECT_EQ(sixteen.size(), 79);
    const QString seventeen = Dump(Range(0x30, 17));
    ASSERT_EQ(seventeen.size(), 158);
    EXPECT_EQ(seventeen.mid(79), QStringLiteral("00000010:  40 ") + QString(45, QLatin1Char(' ')) +
                                     QStringLiteral("  @") + QString(15, QLatin1Char('.')) +
                                     QStringLiteral("\r\n"));
    EXPECT_EQ(Dump({0x7F}).mid(11, 3), QStringLiteral("7F "));
}

TEST(HexDump, CharacterColumnThroughTheCodePage) {
    // 0-31 are dots, 32 a blank, 127 and 128-255 their code-page characters.
    const QString low = Dump(Range(0, 32));
    EXPECT_EQ(low.mid(61, 16), QString(16, QLatin1Char('.')));
    EXPECT_EQ(low.mid(79 + 61, 16), QString(16, QLatin1Char('.')));
    // 0x20-0x7F are themselves; 0x80-0xFF as Windows-1251 defines them, where 0x98 has no character
    // and stands for itself.
    QString expected;
    for (char16_t c = 0x20; c < 0x80; ++c)
        expected += QChar(c);
    expected += QString::fromUtf16(u"ЂЃ‚ѓ„…†‡€‰Љ‹ЊЌЋЏ"
                                   u"ђ‘’“”•–—\u0098™љ›њќћџ"
                                   u"\u00A0ЎўЈ¤Ґ¦§Ё©Є«¬\u00AD®Ї"
                                   u"°±Ііґµ¶·ё№є»јЅѕї"
                                   u"АБВГДЕЖЗИЙКЛМНОП"
                                   u"РСТУФХЦЧШЩЪЫЬЭЮЯ"
                                   u"абвгдежзийклмноп"
                                   u"рстуфхцчшщъыьэюя");
    ASSERT_EQ(expected.size(), 224);
    const QString high = Dump(Range(0x20, 224));
    QString column;
    for (int line = 0; line < 14; ++line)
        column += high.mid(line * 79 + 61, 16);
    EXPECT_EQ(column, expected);
    EXPECT_EQ(AnsiChar(0xC0), QChar(0x0410)); // А
    EXPECT_EQ(AnsiChar(0x88), QChar(0x20AC)); // €
    EXPECT_EQ(AnsiChar(0x98), QChar(0x0098)); // unassigned in the code page
    EXPECT_EQ(UnicodeToAnsi(QStringLiteral("Яё€\u4E00")), QByteArray("\xDF\xB8\x88?"));
}

TEST(HexDump, LineCountsAtAnySize) {
    // 13,264 bytes: 829 lines, 65,491 characters; one byte more still gives the whole dump.
    EXPECT_EQ(Dump(Range(0, 13264)).size(), 65491);
    const QString larger = Dump(Range(0, 13265));
    EXPECT_EQ(larger.size(), 830 * 79);
    EXPECT_EQ(larger.mid(829 * 79, 14), QStringLiteral("000033D0:  D0 "));
    EXPECT_EQ(Dump({}).size(), 0);
}

TEST(HexDump, PadLeft) {
    EXPECT_EQ(PadLeft(QStringLiteral("A"), 2), QStringLiteral("0A"));
    EXPECT_EQ(PadLeft(QStringLiteral("1A2B3C4D5"), 8), QStringLiteral("A2B3C4D5"));
    EXPECT_EQ(PadLeft(QString(), 4), QStringLiteral("0000"));
}
