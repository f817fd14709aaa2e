#include "system/FileWriters.h"

#include "system/AnsiCodePage.h"
#include "system/ErrorReport.h"

#include <QSaveFile>

void WriteBytesFile(const QString &path, std::span<const std::byte> bytes) {
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) &&
                         file.write(reinterpret_cast<const char *>(bytes.data()),
                                    static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size()) &&
                         file.commit();
    if (!written) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw ErrorReport(ErrorReport::FileAccess,
                          QStringLiteral("Ошибка доступа к пути/файлу: %1").arg(reason));
    }
}

void WriteTextFile(const QString &path, const QString &text) {
    const QByteArray ansi = UnicodeToAnsi(text);
    WriteBytesFile(path, std::as_bytes(std::span(ansi.constData(), static_cast<std::size_t>(ansi.size()))));
}
