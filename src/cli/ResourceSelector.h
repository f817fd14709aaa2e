#pragma once
// How zorvika-cli names types and resources: the exact form list prints for each identifier, and
// how a TYPE or NAME argument is read back against a module.
//   TYPE: "14" (the integer type, or where the module has none, the named type "14"), "#14" (the
//   integer type only), a type description as the tree shows it (every integer type that has it),
//   "AVI" (a named type, any case), "name:TEXT" (the named type TEXT only).
//   NAME: "#101" (the integer name only), "101" (the integer name, or where the type has none, the
//   string name "101"), "MENU_001" (a string name, any case), "name:TEXT" (the string name only).
// In the name: form, "\\" is a backslash and "\xHH", "\uHHHH" a character by its code.
#include "resources/ModuleCatalogue.h"

#include <QString>
#include <optional>
#include <vector>

// The exact argument forms list prints: a form that reads back as this very identifier (the name:
// form for names that would read as something else, or as an option).
QString TypeArgument(const ResourceId &type);
QString NameArgument(const ResourceId &name);
// A text from the file fit for one line of output: characters that are not printable (controls,
// format characters, lone surrogates) as \xHH or \uHHHH.
QString VisibleText(const QString &text);

// The module's types that TYPE names, in directory order, each once.
std::vector<ResourceId> SelectTypes(const ModuleCatalogue &module, const QString &argument);
// The name of `type` that NAME names, if the type has it.
std::optional<ResourceId> SelectName(const ModuleCatalogue &module, const ResourceId &type,
                                     const QString &argument);
// Every type of the module, in directory order, each once.
std::vector<ResourceId> DistinctTypes(const ModuleCatalogue &module);
// Every name of the type, in directory order, each once (a repeated identifier reaches only its
// first entry, as lookups do).
std::vector<ResourceId> DistinctNames(const ModuleCatalogue &module, const ResourceId &type);
