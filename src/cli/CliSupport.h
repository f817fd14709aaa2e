#pragma once
// What the commands share: opening the file, saying why something failed, naming a resource in
// messages.
#include "cli/CliCommands.h"
#include "resources/ModuleCatalogue.h"
#include "system/ErrorReport.h"

#include <memory>

// The module, or nullptr after saying on the error stream why the file cannot be read.
std::shared_ptr<const ModuleCatalogue> OpenModule(const QString &path, const CliStreams &streams);
// "zorvika-cli: " + the message + a line end, on the error stream.
void SayError(const CliStreams &streams, const QString &message);
// A resource as the messages name it: its type and name in their exact argument forms.
QString ResourceLabel(const ResourceEntry &entry);
// A failure in the program's own words: its description, or its code where it has none.
QString FailureText(const ErrorReport &failure);
