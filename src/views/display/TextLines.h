#pragma once
// The lines of a text as the text pane shows them: where each starts and ends, found in one pass
// over the text without copying it. A line feed ends a line, and a carriage return right before it
// belongs to the break; any other character (a lone carriage return among them) is the line's own.
#include <QString>
#include <QStringView>
#include <vector>

class TextLines {
public:
    void Reset(const QString &text);
    qsizetype Count() const { return static_cast<qsizetype>(starts_.size()); }
    qsizetype Start(qsizetype line) const { return starts_[static_cast<std::size_t>(line)]; }
    // Where the line's characters end: at its CR LF or LF, or at the end of the text.
    qsizetype End(qsizetype line) const;
    QStringView Line(qsizetype line) const;
    // The line that holds the position (a position inside a line break belongs to its line).
    qsizetype LineOf(qsizetype position) const;

private:
    QStringView text_;
    std::vector<qsizetype> starts_{0};
};
