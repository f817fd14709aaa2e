// extract: every matching resource into a folder, in the form the Save command writes it.
#include "cli/CliSupport.h"
#include "cli/OutputFolder.h"
#include "cli/ResourceSelector.h"
#include "cli/SafeFileNames.h"
#include "export/SaveForms.h"

#include <QDir>

namespace {
// The resources the arguments name, in tree order; nothing after saying why.
std::optional<std::vector<ResourceEntry>> Selected(const ModuleCatalogue &module, const FileRun &run,
                                                   const CliFile &file, FileReport &report) {
    const CliRequest &request = run.request;
    std::vector<ResourceId> types;
    if (request.type) {
        types = SelectTypes(module, *request.type);
        if (types.empty()) {
            FileFailed(run, file, report,
                       QStringLiteral("в файле нет типа ресурсов %1").arg(VisibleText(*request.type)));
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
            if (TooManyEntries(walked, run, file, report)) return std::nullopt;
        }
    }
    if (request.name && entries.empty()) {
        FileFailed(run, file, report,
                   QStringLiteral("ресурс не найден: %1 %2")
                       .arg(VisibleText(*request.type), VisibleText(*request.name)));
        return std::nullopt;
    }
    return entries;
}

void ExtractFile(const FileRun &run, const CliFile &file, FileReport &report) {
    const auto module = OpenModule(run, file, report);
    if (!module) return;
    const auto entries = Selected(*module, run, file, report);
    if (!entries) return;
    // Fixed colours, not the desktop theme's, so that what is written depends on the file alone.
    const SystemColours colours;
    // The file's own folder, made when its first resource is written.
    std::unique_ptr<OutputFolder> folder;
    QString reason;
    // A write that fails (a full disk, above all) ends the run: the files after it would fail too.
    auto writeFailed = [&](const QString &message) {
        SayOfFile(file, report, message);
        report.status = CliStatus::Failed;
        report.endRun = true;
    };
    SafeFileNames names;
    for (const ResourceEntry &entry : *entries) {
        const ExportedResource exported = ExportResource(*module, entry, run.request.choice, colours);
        if (exported.failure) {
            report.status = CliStatus::Failed;
            SayOfFile(file, report,
                      ResourceLabel(entry) + QStringLiteral(": ") + FailureText(*exported.failure) +
                          (exported.bytes ? QStringLiteral(" (записаны байты ресурса)") : QString()));
        }
        if (!exported.bytes) continue;
        if (!folder && !(folder = run.output->Subfolder(file.outputFolders, reason))) {
            return writeFailed(reason);
        }
        const QString name = names.Assign(entry, exported.extension);
        if (!folder->Write(name, *exported.bytes, reason)) {
            return writeFailed(QStringLiteral("%1: не удаётся записать %2: %3")
                                   .arg(ResourceLabel(entry), VisibleText(name), reason));
        }
        report.out += (QDir(folder->path()).filePath(name) + QLatin1Char('\n')).toUtf8();
    }
    if (folder && !folder->Sync(reason)) writeFailed(reason);
}
} // namespace

int ExtractCommand(const CliRequest &request, const CliStreams &streams) {
    return RunFiles(request, streams, ExtractFile);
}
