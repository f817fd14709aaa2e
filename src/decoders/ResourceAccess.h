#pragma once
// Raw access to one resource of an opened module, by exact entry.
#include "resources/ModuleCatalogue.h"

#include <cstdint>
#include <optional>

// An exact copy of the resource's data; empty (no array) when it is missing or has size 0.
std::optional<ResourceBytes> GetResourceBytes(const ModuleCatalogue &module, const ResourceEntry &entry);
// The resource's size in bytes, 0 when it is missing; more than 2^31 - 1 bytes overflows (code 6).
std::int32_t GetResourceSize(const ModuleCatalogue &module, const ResourceEntry &entry);
