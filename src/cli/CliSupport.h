#pragma once
// What the commands share: opening the file, saying why something failed, naming a resource in
// messages.
#include "cli/CliCommands.h"
#include "resources/ModuleCatalogue.h"
#include "system/ErrorReport.h"

#include <memory>

// A directory whose entries lead to the same lists and names again can name millions of resources,
// languages and name characters in a few kilobytes. No real file comes near this many entries
// (names and languages, and a long name as one entry for every 64 characters), so past it the
// directory counts as damaged.
inline constexpr std::size_t kMostEntries = std::size_t{1} << 18;
// What an identifier counts for.
std::size_t EntryCost(const ResourceId &id);
// Whether `count` entries are past the most; says so on the error stream when they are.
bool TooManyEntries(std::size_t count, const CliStreams &streams);

// The module, or nullptr after saying on the error stream why the file cannot be read.
std::shared_ptr<const ModuleCatalogue> OpenModule(const QString &path, const CliStreams &streams);
// "zorvika-cli: " + the message + a line end, on the error stream.
void SayError(const CliStreams &streams, const QString &message);
// A resource as the messages name it: its type and name in their exact argument forms.
QString ResourceLabel(const ResourceEntry &entry);
// A failure in the program's own words: its description, or its code where it has none.
QString FailureText(const ErrorReport &failure);
