#pragma once
// A command over the files of a request: each file is read on a thread of its own (-j), its
// output kept until the output of every file before it is written, so that the documents come in
// the order of the files whatever the threads do; at most a few files per thread are held at once.
#include "cli/CliCommands.h"
#include "cli/FileInputs.h"

#include <QByteArray>

class OutputFolder;

// What the files of a run share.
struct FileRun {
    const CliRequest &request;
    OutputFolder *output = nullptr; // extract: DIR
    bool outIsTerminal = false;
};

// What the command made of one file: its output and messages, written in the file's turn.
struct FileReport {
    QByteArray out, err;
    int status = CliStatus::Done;
    bool skipped = false; // found in a folder or a list, and no module: nothing to say of it
    bool endRun = false;  // a write failed: no file after this one is read
};

using FileCommand = void (*)(const FileRun &run, const CliFile &file, FileReport &report);

// Runs `command` over the request's files, writes each report in order, and returns the run's
// status: the worst of the files', or 1 when standard output could not be written (said on the
// error stream, except for a reader that went away, which a pipe into `head` makes usual).
int RunFiles(const CliRequest &request, const CliStreams &streams, FileCommand command);
// The threads -j 0 asks for: the cores this process may run on.
int DefaultJobs();
