#pragma once
// zorvika-cli run in-process through its command functions, or as a whole process.
#include "cli/CliCommands.h"

#include <QProcess>
#include <QProcessEnvironment>

struct CliRun {
    int status = -1;
    QByteArray out, err;
};

inline CliRun RunCliHere(const QStringList &arguments) {
    CliRun run;
    const CliStreams streams{[&](const QByteArray &b) {
                                 run.out += b;
                                 return 0;
                             },
                             [&](const QByteArray &b) { run.err += b; }};
    run.status = RunCli(arguments, streams);
    return run;
}

// A program run whole, with `environment` in place of the test's own when it is given.
inline CliRun RunProgram(const QString &program, const QStringList &arguments,
                         const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment()) {
    QProcess p;
    p.setProcessEnvironment(environment);
    p.start(program, arguments);
    CliRun run;
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit) return run; // a crash: status -1
    run.status = p.exitCode();
    run.out = p.readAllStandardOutput();
    run.err = p.readAllStandardError();
    return run;
}

inline CliRun
RunCliProcess(const QStringList &arguments,
              const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment()) {
    return RunProgram(QStringLiteral(CLI_PROGRAM), arguments, environment);
}
