#include "views/display/TextAdvances.h"

#include <QChar>
#include <cmath>

namespace {
// Marks in the table of advances for what is not a plain advance.
constexpr float kUnmeasured = -1.0f;
constexpr float kTab = -2.0f;
constexpr float kSurrogate = -3.0f;
} // namespace

TextAdvances::TextAdvances(const QFont &font, qreal tabStop)
    : font_(font), metrics_(font), tabStop_(tabStop > 0 ? tabStop : 80), units_(0x10000, kUnmeasured) {
    units_[u'\t'] = kTab;
    for (char32_t unit = 0xD800; unit <= 0xDFFF; ++unit)
        units_[unit] = kSurrogate;
}

qreal TextAdvances::Reach(QStringView run, qreal from) {
    const char16_t *p = run.utf16();
    const char16_t *const end = p + run.size();
    const float *const units = units_.data();
    qreal x = from;
    while (p != end) {
        // Most characters are a table look-up and a sum, two sums at a time; the rest leave this
        // loop for a moment.
        float even = 0, odd = 0;
        while (end - p >= 2) {
            const float a = units[p[0]], b = units[p[1]];
            if (a < 0 || b < 0) break;
            even += a;
            odd += b;
            p += 2;
        }
        x += even + odd;
        if (p == end) break;
        const char16_t unit = *p++;
        const float advance = units[unit];
        if (advance >= 0) {
            x += advance;
        } else if (advance == kTab) {
            x = (std::floor(x / tabStop_) + 1) * tabStop_;
        } else if (advance == kSurrogate) {
            if (QChar::isHighSurrogate(unit) && p != end && QChar::isLowSurrogate(*p)) {
                const char32_t code = QChar::surrogateToUcs4(unit, *p++);
                auto known = pairs_.constFind(code);
                if (known == pairs_.constEnd())
                    known = pairs_.insert(code, metrics_.horizontalAdvance(QString::fromUcs4(&code, 1)));
                x += *known;
            } else {
                x += metrics_.horizontalAdvance(QChar(unit));
            }
        } else {
            units_[unit] = static_cast<float>(metrics_.horizontalAdvance(QChar(unit)));
            x += units_[unit];
        }
    }
    return x;
}
