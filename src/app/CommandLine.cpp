#include "app/CommandLine.h"

QStringList SplitCommandLine(const QString &arguments) {
    constexpr int kMaxTokens = 16;
    QStringList tokens{QString()};
    bool inToken = false;
    for (QChar c : arguments) {
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
            inToken = false;
            continue;
        }
        if (!inToken) {
            if (tokens.size() - 1 == kMaxTokens) break;
            tokens.append(QString());
            inToken = true;
        }
        tokens.last().append(c);
    }
    return tokens;
}

QString UnknownSwitchText(const QString &token) {
    return QStringLiteral("Программой был получен неизвестный командный ключ.\r\n\tСодержание: ") + token +
           QStringLiteral("\r\n\tКоличество символов: ") + QString::number(token.size()) +
           QStringLiteral("\r\nКомандный ключ не может быть обработан!");
}

QString CaptionFor(const QString &displayName) {
    if (displayName.isEmpty()) return kProgramTitle;
    const QString name =
        displayName.size() <= 32 ? displayName : displayName.left(29) + QStringLiteral("...");
    return name + QStringLiteral(" - ") + kProgramTitle;
}
