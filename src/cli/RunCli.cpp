#include "cli/CliCommands.h"
#include "cli/CliSupport.h"

namespace {
int Print(const QString &text, const CliStreams &streams) {
    return WriteOutput(streams, text.toUtf8()) ? CliStatus::Done : CliStatus::Failed;
}
} // namespace

int RunRequest(const CliRequest &request, const CliStreams &streams, CliCommandFunction extract) {
    switch (request.command) {
    case CliCommand::Help:
        return Print(CliHelpText(), streams);
    case CliCommand::Version:
        return Print(CliVersionText(), streams);
    case CliCommand::List:
        return ListCommand(request, streams);
    case CliCommand::Show:
        return ShowCommand(request, streams);
    case CliCommand::Extract:
        if (extract != nullptr) return extract(request, streams);
        SayError(streams, QStringLiteral("команда extract недоступна"));
        return CliStatus::Failed;
    }
    return CliStatus::Usage;
}

int ReportMistake(const QString &mistake, const CliStreams &streams) {
    SayError(streams, mistake + QStringLiteral(" (подробнее: zorvika-cli --help)"));
    return CliStatus::Usage;
}
