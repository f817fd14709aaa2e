#pragma once
// The commands of zorvika-cli, run in-process: what they print goes to the streams, and each
// returns the program's exit status (0 done, 1 missing or not decoded, 2 bad usage).
#include "cli/CliRequest.h"

#include <QByteArray>
#include <functional>

class TempNames;

struct CliStreams {
    // Standard output: 0, or the errno of a write that failed.
    std::function<int(const QByteArray &)> out;
    std::function<void(const QByteArray &)> err;
    // Standard output is a terminal: control characters from a file are not sent to it.
    bool outIsTerminal = false;
    // Where extract records the names of files being put in place, for the program's signal
    // handlers; none in-process.
    TempNames *temporaries = nullptr;
};

namespace CliStatus {
inline constexpr int Done = 0;
inline constexpr int Failed = 1;
inline constexpr int Usage = 2;
} // namespace CliStatus

int ListCommand(const CliRequest &request, const CliStreams &streams);
int ShowCommand(const CliRequest &request, const CliStreams &streams);
int ExtractCommand(const CliRequest &request, const CliStreams &streams);

using CliCommandFunction = int (*)(const CliRequest &, const CliStreams &);
// Runs a parsed request, help and version included. Extract goes through `extract`: the program
// loads it on first use (it alone needs Qt GUI), tests and tools link it.
int RunRequest(const CliRequest &request, const CliStreams &streams, CliCommandFunction extract);
// Says what is wrong with a command line; returns the status of bad usage.
int ReportMistake(const QString &mistake, const CliStreams &streams);
// Reads the arguments (without the program's name) and runs them, every command linked in.
int RunCli(const QStringList &arguments, const CliStreams &streams);
