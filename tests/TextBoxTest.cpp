// The text pane's own view, driven as a person drives it: the lines it counts, selecting with keys
// and the mouse and copying with Ctrl+C, a long text scrolled to its ends and across the pieces a
// long line is laid out in.
#include "views/display/TextBox.h"
#include "views/display/PaneFonts.h"
#include "views/display/TextLines.h"

#include <QApplication>
#include <QClipboard>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {
// A text box on show in the dump's fixed-pitch font.
class ShownBox {
public:
    explicit ShownBox(const QString &text) {
        InstallPaneFontSubstitutes();
        QFont font(QStringLiteral("Courier New"), 8);
        font.setStyleHint(QFont::TypeWriter);
        box.setFont(font);
        box.setBackgroundRole(QPalette::Button);
        box.resize(420, 220);
        box.setText(text);
        box.show();
        QApplication::processEvents();
    }
    QString Copied() {
        QGuiApplication::clipboard()->setText(QStringLiteral("(nothing copied)"));
        QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
        return QGuiApplication::clipboard()->text();
    }
    // Vertical bands of the viewport that hold text pixels, from a grab: one per text line when
    // the lines are kept apart by empty ones.
    std::vector<std::pair<int, int>> Bands() {
        const QImage shot = box.viewport()->grab().toImage();
        std::vector<std::pair<int, int>> bands;
        for (int y = 0; y < shot.height(); ++y) {
            bool ink = false;
            for (int x = 0; x < shot.width() && !ink; ++x)
                ink = qGray(shot.pixel(x, y)) < 100;
            if (ink && (bands.empty() || bands.back().second != y - 1)) bands.emplace_back(y, y);
            if (ink) bands.back().second = y;
        }
        return bands;
    }
    // The left and right ends of the ink in a band.
    std::pair<int, int> InkSpan(std::pair<int, int> band) {
        const QImage shot = box.viewport()->grab().toImage();
        int left = shot.width(), right = -1;
        for (int y = band.first; y <= band.second; ++y)
            for (int x = 0; x < shot.width(); ++x)
                if (qGray(shot.pixel(x, y)) < 100) left = std::min(left, x), right = std::max(right, x);
        return {left, right};
    }
    void Drag(QPoint from, QPoint to) {
        QTest::mousePress(box.viewport(), Qt::LeftButton, Qt::NoModifier, from);
        QMouseEvent move(QEvent::MouseMove, to, box.viewport()->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(box.viewport(), &move);
        QTest::mouseRelease(box.viewport(), Qt::LeftButton, Qt::NoModifier, to);
    }

    TextBox box;
};

int Middle(std::pair<int, int> band) {
    return (band.first + band.second) / 2;
}
} // namespace

TEST(TextLinesTest, OnlyALineFeedEndsALine) {
    const struct {
        const char16_t *text;
        QStringList lines;
    } cases[] = {
        {u"", {QString()}},
        {u"a", {QStringLiteral("a")}},
        {u"a\r\nb", {QStringLiteral("a"), QStringLiteral("b")}},
        {u"a\nb\n", {QStringLiteral("a"), QStringLiteral("b"), QString()}},
        {u"\r\n", {QString(), QString()}},
        {u"\n\n", {QString(), QString(), QString()}},
        {u"a\rb", {QStringLiteral("a\rb")}},
        {u"a\r\r\nb", {QStringLiteral("a\r"), QStringLiteral("b")}},
    };
    for (const auto &c : cases) {
        const QString text = QString::fromUtf16(c.text);
        TextLines lines;
        lines.Reset(text);
        QStringList got;
        for (qsizetype i = 0; i < lines.Count(); ++i)
            got << lines.Line(i).toString();
        EXPECT_EQ(got, c.lines) << text.toStdString();
    }
    // A position inside a line break belongs to the line it ends.
    const QString text = QStringLiteral("ab\r\ncd");
    TextLines lines;
    lines.Reset(text);
    const qsizetype expected[] = {0, 0, 0, 0, 1, 1, 1};
    for (qsizetype at = 0; at <= text.size(); ++at)
        EXPECT_EQ(lines.LineOf(at), expected[at]) << at;
}

TEST(TextBoxTest, KeysSelectAndCtrlCCopiesWithPlainLineBreaks) {
    ShownBox shown(QStringLiteral("первая строка\r\n<b>вторая</b>\r\n\tтретья"));
    using Keys = std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>>;
    const Qt::KeyboardModifiers shift = Qt::ShiftModifier, none = Qt::NoModifier;
    const struct {
        Keys keys;
        const char16_t *copied;
    } cases[] = {
        {{{Qt::Key_A, Qt::ControlModifier}}, u"первая строка\n<b>вторая</b>\n\tтретья"},
        {{{Qt::Key_End, shift}}, u"первая строка"},
        {{{Qt::Key_Down, none}, {Qt::Key_Right, shift}, {Qt::Key_Right, shift}, {Qt::Key_Right, shift}},
         u"<b>"},
        {{{Qt::Key_Down, shift}, {Qt::Key_Down, shift}}, u"первая строка\n<b>вторая</b>\n"},
        {{{Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier}}, u"первая строка\n<b>вторая</b>\n\tтретья"},
        {{{Qt::Key_End, Qt::ControlModifier}, {Qt::Key_Home, shift}}, u"\tтретья"},
        {{{Qt::Key_End, Qt::ControlModifier}, {Qt::Key_Left, shift}, {Qt::Key_Left, shift}}, u"ья"},
        // Across a CR LF the break is one step, copied as a line feed.
        {{{Qt::Key_End, none}, {Qt::Key_Right, shift}, {Qt::Key_Right, shift}}, u"\n<"},
        // Up keeps to the column (fixed pitch: the same character count), the anchor stays.
        {{{Qt::Key_Down, none}, {Qt::Key_End, none}, {Qt::Key_Left, shift}, {Qt::Key_Up, shift}},
         u"а\n<b>вторая</b>"},
        // Left without Shift leaves the selection at its start.
        {{{Qt::Key_End, shift}, {Qt::Key_Left, none}, {Qt::Key_Right, shift}}, u"п"},
        {{{Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier}}, u"первая "},
        // Nothing selected: Ctrl+C leaves the clipboard alone.
        {{}, u"(nothing copied)"},
    };
    for (const auto &c : cases) {
        QTest::keyClick(&shown.box, Qt::Key_Home, Qt::ControlModifier);
        for (const auto &[key, modifiers] : c.keys)
            QTest::keyClick(&shown.box, key, modifiers);
        EXPECT_EQ(shown.Copied(), QString::fromUtf16(c.copied)) << QString::fromUtf16(c.copied).toStdString();
    }
    // The text itself is kept as given.
    EXPECT_EQ(shown.box.text(), QStringLiteral("первая строка\r\n<b>вторая</b>\r\n\tтретья"));
}

TEST(TextBoxTest, TheMouseSelectsWhatItIsDraggedOver) {
    ShownBox shown(QStringLiteral("first line\r\n\r\nsecond word\r\n\r\nthird"));
    const auto bands = shown.Bands();
    ASSERT_EQ(bands.size(), 3u);
    const int right = shown.box.viewport()->width() - 2;

    // From the left edge to beyond the end of the line: the whole line.
    shown.Drag(QPoint(1, Middle(bands[0])), QPoint(right, Middle(bands[0])));
    EXPECT_EQ(shown.Copied(), QStringLiteral("first line"));

    // A click, then Shift and a click further down.
    QTest::mouseClick(shown.box.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(1, Middle(bands[1])));
    QTest::mouseClick(shown.box.viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      QPoint(right, Middle(bands[2])));
    EXPECT_EQ(shown.Copied(), QStringLiteral("second word\n\nthird"));

    // A double click takes the word under the pointer.
    const auto [left, end] = shown.InkSpan(bands[1]);
    QTest::mouseDClick(shown.box.viewport(), Qt::LeftButton, Qt::NoModifier,
                       QPoint(left + (end - left) * 3 / 4, Middle(bands[1])));
    EXPECT_EQ(shown.Copied(), QStringLiteral("word"));

    // Dragging past the bottom keeps selecting to the last line.
    shown.Drag(QPoint(1, Middle(bands[0])), QPoint(right, shown.box.viewport()->height() + 40));
    EXPECT_EQ(shown.Copied(), QStringLiteral("first line\n\nsecond word\n\nthird"));
}

TEST(TextBoxTest, ALongTextScrollsToItsEndsAndAcrossLongLines) {
    // 200,000 short lines and, last, one of 30,000 digits, far longer than one laid-out piece.
    QString text;
    for (int i = 0; i < 200000; ++i)
        text += QStringLiteral("line %1\r\n").arg(i);
    for (int i = 0; i < 3000; ++i)
        text += QStringLiteral("0123456789");
    ShownBox shown(text);
    QScrollBar *lines = shown.box.verticalScrollBar();
    QScrollBar *across = shown.box.horizontalScrollBar();
    EXPECT_EQ(lines->maximum() + lines->pageStep(), 200001);
    // The longest line sets the horizontal range: 30,000 advances of the fixed-pitch font.
    const qreal advance = QFontMetricsF(shown.box.font()).horizontalAdvance(QLatin1Char('0'));
    EXPECT_NEAR(across->maximum() + across->pageStep(), 30000 * advance, 16);

    QTest::keyClick(&shown.box, Qt::Key_PageDown);
    EXPECT_EQ(lines->value(), lines->pageStep());
    QTest::keyClick(&shown.box, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(lines->value(), lines->maximum());
    EXPECT_GT(across->value(), across->maximum() - 40);
    QApplication::processEvents();
    auto bands = shown.Bands();
    ASSERT_FALSE(bands.empty());
    QTest::keyClick(&shown.box, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(shown.Copied(), QStringLiteral("9"));

    // Around the first piece boundaries (characters 1,024 and 2,048) the digits run on unbroken,
    // and the mouse finds the characters it is over.
    for (const int at : {1000, 2030}) {
        across->setValue(static_cast<int>(at * advance));
        QApplication::processEvents();
        bands = shown.Bands();
        ASSERT_FALSE(bands.empty());
        const int y = Middle(bands.back());
        const int from = 10, to = shown.box.viewport()->width() - 10;
        shown.Drag(QPoint(from, y), QPoint(to, y));
        const QString copied = shown.Copied();
        EXPECT_NEAR(static_cast<double>(copied.size()), (to - from) / advance, 2) << at;
        for (qsizetype i = 1; i < copied.size(); ++i)
            ASSERT_EQ(copied[i].digitValue(), (copied[i - 1].digitValue() + 1) % 10) << copied.toStdString();
    }
    QTest::keyClick(&shown.box, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(lines->value(), 0);
    EXPECT_EQ(across->value(), 0);

    // A surrogate pair across the first piece boundary stays whole: one step each way.
    const QString smile = QString::fromUtf16(u"\U0001F600");
    ShownBox pair(QString(1023, QLatin1Char('a')) + smile + QStringLiteral("bc"));
    for (int i = 0; i < 1024; ++i)
        QTest::keyClick(&pair.box, Qt::Key_Right);
    QTest::keyClick(&pair.box, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(pair.Copied(), QStringLiteral("b"));
    QTest::keyClick(&pair.box, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(&pair.box, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(pair.Copied(), smile);
}
