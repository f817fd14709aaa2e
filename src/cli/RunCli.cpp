#include "cli/CliCommands.h"
#include "cli/CliSupport.h"

int RunCli(const CliRequest &request, const CliStreams &streams) {
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
        return ExtractCommand(request, streams);
    }
    return CliStatus::Usage;
}

int RunCli(const QStringList &arguments, const CliStreams &streams) {
    const CliParse parsed = ParseCli(arguments);
    if (!parsed.request) {
        SayError(streams, parsed.mistake + QStringLiteral(" (подробнее: zorvika-cli --help)"));
        return CliStatus::Usage;
    }
    return RunCli(*parsed.request, streams);
}
