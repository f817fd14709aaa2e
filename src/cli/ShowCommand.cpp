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
} // namespace

int ShowCommand(const CliRequest &request, const CliStreams &streams) {
    const auto module = OpenModule(request.file, streams);
    if (!module) return CliStatus::Failed;
    const std::vector<ResourceId> types = SelectTypes(*module, *request.type);
    if (types.empty()) {
        SayError(streams, QStringLiteral("в файле нет типа ресурсов %1").arg(VisibleText(*request.type)));
        return CliStatus::Failed;
    }
    std::vector<ResourceEntry> found;
    for (const ResourceId &type : types)
        if (const auto name = SelectName(*module, type, *request.name)) found.push_back({type, *name});
    if (found.empty()) {
        SayError(streams, QStringLiteral("ресурс не найден: %1 %2")
                              .arg(VisibleText(*request.type), VisibleText(*request.name)));
        return CliStatus::Failed;
    }
    if (found.size() > 1) {
        QStringList which;
        for (const ResourceEntry &e : found)
            which << ResourceLabel(e);
        SayError(streams, QStringLiteral("подходят несколько ресурсов, укажите тип точно: %1")
                              .arg(which.join(QStringLiteral(", "))));
        return CliStatus::Usage;
    }
    const ResourceEntry &entry = found.front();
    // The pane's row for the resource; what the window shows otherwise is dumped.
    ResourceView view = ChooseView(entry);
    if (!IsTextView(view)) view = ResourceView::HexDump;
    auto text = MadeBy([&] { return ViewText(view, *module, entry); });
    if (!text) {
        SayError(streams, ResourceLabel(entry) + QStringLiteral(": ") + FailureText(*text.failure()));
        return CliStatus::Failed;
    }
    if (text.value().isEmpty()) {
        SayError(streams, ResourceLabel(entry) + QStringLiteral(": Невозможно загрузить ресурс."));
        return CliStatus::Failed;
    }
    if (request.rawText) {
        streams.out(UnicodeToAnsi(text.value()));
    } else {
        QString lines = text.value().replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        streams.out((streams.outIsTerminal ? ForTerminal(std::move(lines)) : lines).toUtf8());
    }
    return CliStatus::Done;
}
