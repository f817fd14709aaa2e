#include "views/display/TextLines.h"

#include <algorithm>

void TextLines::Reset(const QString &text) {
    text_ = text;
    starts_.assign(1, 0);
    for (qsizetype at = text_.indexOf(u'\n'); at >= 0; at = text_.indexOf(u'\n', at + 1))
        starts_.push_back(at + 1);
}

qsizetype TextLines::End(qsizetype line) const {
    if (line + 1 >= Count()) return text_.size();
    qsizetype end = Start(line + 1) - 1; // the line feed
    if (end > Start(line) && text_[end - 1] == u'\r') --end;
    return end;
}

QStringView TextLines::Line(qsizetype line) const {
    return text_.sliced(Start(line), End(line) - Start(line));
}

qsizetype TextLines::LineOf(qsizetype position) const {
    const auto after = std::upper_bound(starts_.begin(), starts_.end(), position);
    return static_cast<qsizetype>(after - starts_.begin()) - 1;
}
