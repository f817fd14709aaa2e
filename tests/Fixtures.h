#pragma once
// Paths of the fixture DLLs built from tests/fixtures/*.rc, and a helper that makes malformed
// copies of them.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <functional>

inline QString FixturePath(const QString &fileName) {
    return QStringLiteral(FIXTURE_DIR "/") + fileName;
}

inline QByteArray ReadFileBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Writes `bytes` as `name` in a temporary folder that lives as long as the object.
class TempFiles {
public:
    QString Write(const QString &name, const QByteArray &bytes) {
        const QString path = dir_.filePath(name);
        QFile f(path);
        if (f.open(QIODevice::WriteOnly)) f.write(bytes);
        return path;
    }
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};
