#pragma once
// The system's reason for a failed file operation, in the program's language. The C library's
// own text depends on the locale (English in the C locale), so the errors a save or an extract
// meets have words of ours; any other error keeps the library's text, with its number.
#include <QString>

QString SystemErrorText(int errnoValue);
