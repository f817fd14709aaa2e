#include "text/TextHelpers.h"

QString TrimAtNul(const QString &text) {
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

bool ReadsAsNumber(const QString &text) {
    if (text.isEmpty()) return false;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

std::optional<std::uint32_t> NumberValue(const QString &text) {
    if (!ReadsAsNumber(text)) return std::nullopt;
    bool ok = false;
    const qulonglong v = text.toULongLong(&ok);
    if (!ok || v > 0xFFFFFFFFull) return std::nullopt;
    return static_cast<std::uint32_t>(v);
}
