#pragma once
// Lets GoogleTest print QString values in its failure messages.
#include <QString>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }
