#include "cli/CliCommands.h"
#include "cli/CliSupport.h"

int RunRequest(const CliRequest &request, const CliStreams &streams, CliCommandFunction extract) {
    switch (request.command) {
    case CliCommand::Help:
        streams.out(CliHelpText().toUtf8());
        return CliStatus::Done;
    case CliCommand::Version:
        streams.out(CliVersionText().toUtf8());
        return CliStatus::Done;
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
