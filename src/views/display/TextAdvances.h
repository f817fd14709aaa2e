#pragma once
// How far a run of text reaches in a font without laying it out: the sum of its characters'
// advances, a tab going on to the next tab stop. For text that a font draws character by character
// without kerning (as the text pane draws) this is the laid-out width; for shaped scripts it is an
// estimate that the pane corrects once the line is laid out.
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QStringView>
#include <vector>

class TextAdvances {
public:
    TextAdvances(const QFont &font, qreal tabStop);
    // Where the run ends when it starts at x = `from`.
    qreal Reach(QStringView run, qreal from = 0);
    const QFont &font() const { return font_; }
    qreal tabStop() const { return tabStop_; }

private:
    QFont font_;
    QFontMetricsF metrics_;
    qreal tabStop_;
    std::vector<float> units_; // advance per UTF-16 unit; negative marks the rest
    QHash<char32_t, qreal> pairs_;
};
