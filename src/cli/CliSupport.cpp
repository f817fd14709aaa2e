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

std::size_t EntryCost(const ResourceId &id) {
    return 1 + static_cast<std::size_t>(id.name.size()) / 64;
}

bool TooManyEntries(std::size_t count, const CliStreams &streams) {
    if (count <= kMostEntries) return false;
    SayError(streams,
             QStringLiteral("каталог ресурсов повреждён: в нём больше %1 записей").arg(kMostEntries));
    return true;
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
