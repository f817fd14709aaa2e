// Search-and-replace and the line-break rule shared by string and message tables.
#include "text/ReplaceText.h"

#include <gtest/gtest.h>

TEST(ReplaceText, ReplacesEveryOccurrenceFromLeftToRight) {
    EXPECT_EQ(ReplaceText(QStringLiteral("a-b-c"), QStringLiteral("-"), QStringLiteral("+")),
              QStringLiteral("a+b+c"));
    // Occurrences do not overlap: "aaa" holds one "aa", then a lone "a".
    EXPECT_EQ(ReplaceText(QStringLiteral("aaa"), QStringLiteral("aa"), QStringLiteral("b")),
              QStringLiteral("ba"));
    // The inserted replacement is never searched again, even when it contains the search text.
    EXPECT_EQ(ReplaceText(QStringLiteral("xax"), QStringLiteral("a"), QStringLiteral("aa")),
              QStringLiteral("xaax"));
    // With an empty replacement the search goes on where the occurrence was.
    EXPECT_EQ(ReplaceText(QStringLiteral("abab"), QStringLiteral("ab"), QString()), QString());
    EXPECT_EQ(ReplaceText(QStringLiteral("aabb"), QStringLiteral("ab"), QString()), QStringLiteral("ab"));
}

TEST(ReplaceText, LeavesTheTextAloneWithNothingToDo) {
    EXPECT_EQ(ReplaceText(QString(), QStringLiteral("a"), QStringLiteral("b")), QString());
    EXPECT_EQ(ReplaceText(QStringLiteral("abc"), QString(), QStringLiteral("b")), QStringLiteral("abc"));
    EXPECT_EQ(ReplaceText(QStringLiteral("abc"), QStringLiteral("x"), QStringLiteral("y")),
              QStringLiteral("abc"));
}

TEST(ReplaceText, ComparesExactlyInModeZeroOnly) {
    EXPECT_EQ(ReplaceText(QStringLiteral("Ab ab"), QStringLiteral("ab"), QStringLiteral("-"), 0),
              QStringLiteral("Ab -"));
    EXPECT_EQ(ReplaceText(QStringLiteral("Ab ab"), QStringLiteral("ab"), QStringLiteral("-"), 1),
              QStringLiteral("- -"));
    EXPECT_EQ(ReplaceText(QStringLiteral("Яя"), QStringLiteral("я"), QStringLiteral("-"), 1),
              QStringLiteral("--"));
}

TEST(NormaliseLineBreaks, MakesEveryBreakOneCrLf) {
    const struct {
        const char *in, *out;
    } cases[] = {
        {"a\nb", "a\r\nb"},       // a lone line feed becomes a break
        {"a\r\nb", "a\r\nb"},     // CR LF stays one break
        {"a\r\r\nb", "a\r\r\nb"}, // CR CR LF is kept: the first step makes CR CR CR LF
        {"a\n\nb", "a\r\n\r\nb"}, // two breaks stay two
        {"a\rb", "a\rb"},         // a lone carriage return is left alone
        {"end\r\n", "end\r\n"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(NormaliseLineBreaks(QString::fromLatin1(c.in)), QString::fromLatin1(c.out)) << c.in;
}
