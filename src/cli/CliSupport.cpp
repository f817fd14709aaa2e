#include "cli/CliSupport.h"

#include "cli/ResourceSelector.h"

#include <QFileInfo>

std::shared_ptr<const ModuleCatalogue> OpenModule(const QString &path, const CliStreams &streams) {
    auto module = ModuleCatalogue::Open(path);
    if (module) return module;
    const QFileInfo info(path);
    if (!info.exists())
        SayError(streams, QStringLiteral("файл не найден: %1").arg(VisibleText(path)));
    else if (!info.isFile() || !info.isReadable())
        SayError(streams, QStringLiteral("файл не читается: %1").arg(VisibleText(path)));
    else
        SayError(streams, QStringLiteral("файл не является исполняемым файлом или библиотекой Windows: %1")
                              .arg(VisibleText(path)));
    return nullptr;
}

void SayError(const CliStreams &streams, const QString &message) {
    streams.err((QStringLiteral("zorvika-cli: ") + message + QLatin1Char('\n')).toUtf8());
}

QString ResourceLabel(const ResourceEntry &entry) {
    return TypeArgument(entry.type) + QLatin1Char(' ') + NameArgument(entry.name);
}

QString FailureText(const ErrorReport &failure) {
    if (failure.description().isEmpty()) return QStringLiteral("ошибка %1").arg(failure.code());
    return failure.description();
}
