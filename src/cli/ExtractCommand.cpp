// extract: every matching resource into a folder, in the form the Save command writes it.
#include "cli/CliSupport.h"
#include "cli/OutputFolder.h"
#include "cli/ResourceSelector.h"
#include "cli/SafeFileNames.h"
#include "export/SaveForms.h"

#include <QDir>

namespace {
// The resources the arguments name, in tree order; nothing after saying why.
std::optional<std::vector<ResourceEntry>> Selected(const ModuleCatalogue &module, const CliRequest &request,
                                                   const CliStreams &streams) {
    std::vector<ResourceId> types;
    if (request.type) {
        types = SelectTypes(module, *request.type);
        if (types.empty()) {
            SayError(streams, QStringLiteral("в файле нет типа ресурсов %1").arg(VisibleText(*request.type)));
            return std::nullopt;
        }
    } else {
        for (const ResourceId &type : module.Types()) {
            bool seen = false;
            for (const ResourceId &t : types)
                seen = seen || t.matches(type);
            if (!seen) types.push_back(type);
        }
    }
    std::vector<ResourceEntry> entries;
    for (const ResourceId &type : types) {
        if (!request.name) {
            for (const ResourceId &name : DistinctNames(module, type))
                entries.push_back({type, name});
        } else if (const auto name = SelectName(module, type, *request.name)) {
            entries.push_back({type, *name});
        }
    }
    if (request.name && entries.empty()) {
        SayError(streams, QStringLiteral("ресурс не найден: %1 %2")
                              .arg(VisibleText(*request.type), VisibleText(*request.name)));
        return std::nullopt;
    }
    return entries;
}
} // namespace

int ExtractCommand(const CliRequest &request, const CliStreams &streams) {
    const auto module = OpenModule(request.file, streams);
    if (!module) return CliStatus::Failed;
    const auto entries = Selected(*module, request, streams);
    if (!entries) return CliStatus::Failed;
    QString reason;
    const auto folder = OutputFolder::Open(request.outputFolder, reason);
    if (!folder) {
        SayError(streams, reason);
        return CliStatus::Failed;
    }
    const QColor background = request.choice == ExportChoice::Drawn ? ScratchBackground() : QColor();
    SafeFileNames names;
    int status = CliStatus::Done;
    for (const ResourceEntry &entry : *entries) {
        const ExportedResource exported = ExportResource(*module, entry, request.choice, background);
        if (exported.failure) {
            status = CliStatus::Failed;
            SayError(streams, ResourceLabel(entry) + QStringLiteral(": ") + FailureText(*exported.failure) +
                                  (exported.bytes ? QStringLiteral(" (записаны байты ресурса)") : QString()));
        }
        if (!exported.bytes) continue;
        const QString name = names.Assign(entry, exported.extension);
        if (!folder->Write(name, *exported.bytes, reason)) {
            status = CliStatus::Failed;
            SayError(streams, QStringLiteral("%1: не удаётся записать %2: %3")
                                  .arg(ResourceLabel(entry), VisibleText(name), reason));
            continue;
        }
        streams.out((QDir(folder->path()).filePath(name) + QLatin1Char('\n')).toUtf8());
    }
    return status;
}
