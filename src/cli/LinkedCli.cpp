// The whole command line in-process, extract linked in: what tests and tools run.
#include "cli/CliCommands.h"

int RunCli(const QStringList &arguments, const CliStreams &streams) {
    const CliParse parsed = ParseCli(arguments);
    if (!parsed.request) return ReportMistake(parsed.mistake, streams);
    return RunRequest(*parsed.request, streams, &ExtractCommand);
}
