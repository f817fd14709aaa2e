#pragma once
// Raw access to one resource: by exact entry of an opened module, or, for the window, by the
// identifier strings of the loaded module: the type ("3", "14", "AVI") and the name ("#101" for an
// integer name, or the name itself).
#include "resources/ModuleCatalogue.h"

#include <QString>
#include <cstdint>
#include <optional>

// An exact copy of the resource's data; empty (no array) when it is missing or has size 0.
std::optional<ResourceBytes> GetResourceBytes(const ModuleCatalogue &module, const ResourceEntry &entry);
// The resource's size in bytes, 0 when it is missing; more than 2^31 - 1 bytes overflows (code 6).
std::int32_t GetResourceSize(const ModuleCatalogue &module, const ResourceEntry &entry);

// The loaded module's entry that identifier strings name, as lookups read them; where nothing is
// found, the entry they would name, which yields no data.
ResourceEntry LoadedEntry(const QString &type, const QString &name);
std::optional<ResourceBytes> GetResourceBytes(const QString &type, const QString &name);
std::int32_t GetResourceSize(const QString &type, const QString &name);
