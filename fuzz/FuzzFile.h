#pragma once
// Targets that read a file by name get each input as the whole content of one temporary file.
#include <QTemporaryFile>
#include <cstddef>
#include <cstdint>

// The file's name with exactly `data` in it; empty when no temporary file can be had.
inline QString InputAsFile(const std::uint8_t *data, std::size_t size) {
    static QTemporaryFile file;
    static const bool opened = file.open();
    if (!opened) return QString();
    file.resize(0);
    file.seek(0);
    file.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
    file.flush();
    return file.fileName();
}
