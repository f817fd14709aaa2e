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
        types = DistinctTypes(module);
    }
    std::vector<ResourceEntry> entries;
    std::size_t walked = 0;
    for (const ResourceId &type : types) {
        std::vector<ResourceId> names;
        if (!request.name)
            names = DistinctNames(module, type);
        else if (const auto name = SelectName(module, type, *request.name))
            names.push_back(*name);
        for (const ResourceId &name : names) {
            entries.push_back({type, name});
            walked += EntryCost(type) + EntryCost(name) + module.Languages(entries.back()).size();
            if (TooManyEntries(walked, streams)) return std::nullopt;
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
    // Fixed colours, not the desktop theme's, so that what is written depends on the file alone.
    const SystemColours colours;
    SafeFileNames names;
    int status = CliStatus::Done;
    for (const ResourceEntry &entry : *entries) {
        const ExportedResource exported = ExportResource(*module, entry, request.choice, colours);
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
