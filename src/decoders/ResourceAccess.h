#pragma once
// Raw access to one resource of the loaded module, named by its identifier strings: the type
// ("3", "14", "AVI") and the name ("#101" for an integer name, or the name itself).
#include <QString>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

using ResourceBytes = std::vector<std::byte>;

// An exact copy of the resource's data; empty (no array) when it is missing or has size 0.
std::optional<ResourceBytes> GetResourceBytes(const QString &type, const QString &name);
// The resource's size in bytes, 0 when it is missing.
std::int32_t GetResourceSize(const QString &type, const QString &name);
// The resource's data inside the mapped module, without a copy; empty when missing.
std::optional<std::span<const std::byte>> FindResourceData(const QString &type, const QString &name);
