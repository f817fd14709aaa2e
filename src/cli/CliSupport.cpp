#include "cli/CliSupport.h"

#include "cli/CheckedWrite.h"
#include "cli/ResourceSelector.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <cerrno>

namespace {
QByteArray Message(const QString &message) {
    return (QStringLiteral("zorvika-cli: ") + message + QLatin1Char('\n')).toUtf8();
}
} // namespace

std::shared_ptr<const ModuleCatalogue> OpenModule(const FileRun &run, const CliFile &file, FileReport &report) {
    if (!file.failure.isEmpty()) {
        FileFailed(run, file, report, file.failure);
        return nullptr;
    }
    auto module = ModuleCatalogue::Open(file.path);
    if (module) return module;
    const QFileInfo info(file.path);
    if (!info.exists()) {
        FileFailed(run, file, report, QStringLiteral("файл не найден"));
    } else if (!info.isFile() || !info.isReadable()) {
        FileFailed(run, file, report, QStringLiteral("файл не читается"));
    } else if (!file.named) {
        report.skipped = true;
    } else {
        FileFailed(run, file, report, QStringLiteral("файл не является исполняемым файлом или библиотекой Windows"));
    }
    return nullptr;
}

std::size_t EntryCost(const ResourceId &id) {
    return 1 + static_cast<std::size_t>(id.name.size()) / 64;
}

bool TooManyEntries(std::size_t count, const FileRun &run, const CliFile &file, FileReport &report) {
    if (count <= kMostEntries) return false;
    FileFailed(run, file, report,
               QStringLiteral("каталог ресурсов повреждён: в нём больше %1 записей").arg(kMostEntries));
    return true;
}

void FileFailed(const FileRun &run, const CliFile &file, FileReport &report, const QString &reason, int status) {
    SayOfFile(file, report, reason);
    if (run.request.json)
        report.out = JsonLine({{QStringLiteral("file"), file.path}, {QStringLiteral("error"), reason}});
    report.status = std::max(report.status, status);
}

void SayOfFile(const CliFile &file, FileReport &report, const QString &message) {
    report.err += Message(VisibleText(file.path) + QStringLiteral(": ") + message);
}

QByteArray JsonLine(const QJsonObject &document) {
    return QJsonDocument(document).toJson(QJsonDocument::Compact) + '\n';
}

bool WriteOutput(const CliStreams &streams, const QByteArray &bytes) {
    const int error = streams.out(bytes);
    if (error == 0) return true;
    if (error != EPIPE)
        SayError(streams, QStringLiteral("не удаётся записать в стандартный вывод: %1").arg(SystemReason(error)));
    return false;
}

void SayError(const CliStreams &streams, const QString &message) {
    streams.err(Message(message));
}

QString ResourceLabel(const ResourceEntry &entry) {
    return TypeArgument(entry.type) + QLatin1Char(' ') + NameArgument(entry.name);
}

QString FailureText(const ErrorReport &failure) {
    if (failure.description().isEmpty()) return QStringLiteral("ошибка %1").arg(failure.code());
    return failure.description();
}
