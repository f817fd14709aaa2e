// show: the text the window's pane shows for one resource.
#include "cli/CliSupport.h"
#include "cli/ResourceSelector.h"
#include "decoders/ViewChoice.h"
#include "system/AnsiCodePage.h"
#include "system/Made.h"

namespace {
// A terminal is not sent the controls a file may hold (escape sequences); tabs and line ends pass.
QString ForTerminal(QString text) {
    for (QChar &c : text) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != u'\t' && u != u'\n') || (u >= 0x7F && u < 0xA0)) c = QChar(0xFFFD);
    }
    return text;
}

void ShowFile(const FileRun &run, const CliFile &file, FileReport &report) {
    const CliRequest &request = run.request;
    const auto module = OpenModule(run, file, report);
    if (!module) return;
    const std::vector<ResourceId> types = SelectTypes(*module, *request.type);
    if (types.empty()) {
        FileFailed(run, file, report,
                   QStringLiteral("в файле нет типа ресурсов %1").arg(VisibleText(*request.type)));
        return;
    }
    std::vector<ResourceEntry> found;
    for (const ResourceId &type : types)
        if (const auto name = SelectName(*module, type, *request.name)) found.push_back({type, *name});
    if (found.empty()) {
        FileFailed(run, file, report,
                   QStringLiteral("ресурс не найден: %1 %2").arg(VisibleText(*request.type), VisibleText(*request.name)));
        return;
    }
    if (found.size() > 1) {
        QStringList which;
        for (const ResourceEntry &e : found)
            which << ResourceLabel(e);
        FileFailed(run, file, report,
                   QStringLiteral("подходят несколько ресурсов, укажите тип точно: %1").arg(which.join(QStringLiteral(", "))),
                   CliStatus::Usage);
        return;
    }
    const ResourceEntry &entry = found.front();
    // The pane's row for the resource; what the window shows otherwise is dumped.
    ResourceView view = ChooseView(entry);
    if (!IsTextView(view)) view = ResourceView::HexDump;
    auto text = MadeBy([&] { return ViewText(view, *module, entry); });
    if (!text) {
        FileFailed(run, file, report, ResourceLabel(entry) + QStringLiteral(": ") + FailureText(*text.failure()));
        return;
    }
    if (text.value().isEmpty()) {
        FileFailed(run, file, report, ResourceLabel(entry) + QStringLiteral(": Невозможно загрузить ресурс."));
        return;
    }
    if (request.rawText) {
        report.out = UnicodeToAnsi(text.value());
    } else {
        QString lines = text.value().replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        if (request.json) {
            report.out = JsonLine({{QStringLiteral("file"), file.path},
                                   {QStringLiteral("type"), TypeArgument(entry.type)},
                                   {QStringLiteral("name"), NameArgument(entry.name)},
                                   {QStringLiteral("text"), lines}});
            return;
        }
        report.out = (run.outIsTerminal ? ForTerminal(std::move(lines)) : lines).toUtf8();
    }
    // Several files: each text under its file's path, as head prints them, a blank line after it.
    if (request.ManyFiles())
        report.out = ("==> " + VisibleText(file.path).toUtf8() + " <==\n") + report.out + '\n';
}
} // namespace

int ShowCommand(const CliRequest &request, const CliStreams &streams) {
    return RunFiles(request, streams, ShowFile);
}
