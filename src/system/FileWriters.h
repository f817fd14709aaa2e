#pragma once
// Writing a saved resource to the file the person chose. The content goes to a temporary file
// beside the target, which replaces the target only once everything is written: a failed save
// leaves an existing file exactly as it was. Failures raise code 75 with the file system's reason.
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <span>

void WriteBytesFile(const QString &path, std::span<const std::byte> bytes);
// The text in the program's ANSI code page (Windows-1251): no byte-order mark, line ends as given.
void WriteTextFile(const QString &path, const QString &text);
