#include "text/ReplaceText.h"

QString ReplaceText(const QString &text, const QString &search, const QString &replacement, int compare) {
    if (text.isEmpty() || search.isEmpty()) return text;
    const Qt::CaseSensitivity cs = compare == 0 ? Qt::CaseSensitive : Qt::CaseInsensitive;
    // Searching on after each replacement is the same as a single left-to-right pass over the
    // original text, so the result is built in one go instead of rebuilding it per occurrence.
    QString result;
    qsizetype from = 0;
    for (qsizetype q = text.indexOf(search, 0, cs); q >= 0; q = text.indexOf(search, from, cs)) {
        result += QStringView(text).mid(from, q - from);
        result += replacement;
        from = q + search.size();
    }
    if (from == 0) return text;
    result += QStringView(text).mid(from);
    return result;
}

QString NormaliseLineBreaks(const QString &line) {
    const QString lf(QLatin1Char('\n'));
    const QString crLf = QStringLiteral("\r\n");
    return ReplaceText(ReplaceText(line, lf, crLf, 0), QStringLiteral("\r\r\n"), crLf, 0);
}
