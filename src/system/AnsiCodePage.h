#pragma once
// The program's ANSI code page is Windows-1251 (its home system is Russian), whatever the host's
// locale: every conversion between bytes and text that the program does "in ANSI" goes through here.
#include <QByteArray>
#include <QChar>
#include <QString>
#include <cstddef>
#include <span>

// The character of one byte; bytes below 0x80 are ASCII.
QChar AnsiChar(std::uint8_t byte);
QString AnsiToUnicode(std::span<const std::byte> bytes);
QString AnsiToUnicode(const QByteArray &bytes);
// Characters the code page lacks become "?", as the platform's default character does.
QByteArray UnicodeToAnsi(const QString &text);
