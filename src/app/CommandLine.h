#pragma once
#include <QString>
#include <QStringList>

// Splits the program's argument string at blanks and tabs. Element 0 is always empty; elements
// 1 to n (n <= 16) are the tokens in order; a 17th token and everything after it are dropped.
// Quotation marks have no special meaning.
QStringList SplitCommandLine(const QString &arguments);

// The unknown-switch warning for a token that begins with "/" and matches no switch.
QString UnknownSwitchText(const QString &token);

// The window caption for a display name: the title alone, or the name (cut to 29 characters and
// three full stops when it is longer than 32) followed by " - " and the title.
QString CaptionFor(const QString &displayName);

inline const QString kProgramTitle = QStringLiteral("Зорвика");
