#pragma once
// What the commands share: opening a file, saying why something failed, naming a resource in
// messages, the documents of --json.
#include "cli/FileRun.h"
#include "resources/ModuleCatalogue.h"
#include "system/ErrorReport.h"

#include <QJsonObject>
#include <memory>

// A directory whose entries lead to the same lists and names again can name millions of resources,
// languages and name characters in a few kilobytes. No real file comes near this many entries
// (names and languages, and a long name as one entry for every 64 characters), so past it the
// directory counts as damaged.
inline constexpr std::size_t kMostEntries = std::size_t{1} << 18;
// What an identifier counts for.
std::size_t EntryCost(const ResourceId &id);
// Whether `count` entries are past the most; says so of the file when they are.
bool TooManyEntries(std::size_t count, const FileRun &run, const CliFile &file, FileReport &report);

// The file's module, or nullptr after saying why it cannot be read (or, for a file found in a
// folder or a list that is no module, after marking it skipped).
std::shared_ptr<const ModuleCatalogue> OpenModule(const FileRun &run, const CliFile &file, FileReport &report);
// The file failed with `reason`: said on the error stream with the file's path, and with --json as
// its document {"file": ..., "error": reason}; the file's status becomes `status`.
void FileFailed(const FileRun &run, const CliFile &file, FileReport &report, const QString &reason,
                int status = CliStatus::Failed);
// A message about the file, with its path, on the error stream.
void SayOfFile(const CliFile &file, FileReport &report, const QString &message);
// One document of --json: compact, on a line of its own.
QByteArray JsonLine(const QJsonObject &document);

// Writes to standard output; false after saying why that failed. A reader that went away (a pipe
// into `head`) has all it wanted: that ends the run without a word.
bool WriteOutput(const CliStreams &streams, const QByteArray &bytes);
// "zorvika-cli: " + the message + a line end, on the error stream.
void SayError(const CliStreams &streams, const QString &message);
// A resource as the messages name it: its type and name in their exact argument forms.
QString ResourceLabel(const ResourceEntry &entry);
// A failure in the program's own words: its description, or its code where it has none.
QString FailureText(const ErrorReport &failure);
