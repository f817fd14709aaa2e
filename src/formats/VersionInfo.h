#pragma once
// Our stand-in for the version-information queries: the version data of a module is a copy of its
// version resource (VS_VERSIONINFO), and a query walks its blocks by key, as VerQueryValueA does.
#include <QString>
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

// The value of the block named by `subBlock` ("\VarFileInfo\Translation"): the block's value bytes
// as declared by its header. Keys compare without case. Empty when a block on the way is missing.
// Raises code 9 when a block's lengths point outside its parent block or the data.
std::optional<std::span<const std::byte>> VerQueryValueBytes(std::span<const std::byte> data,
                                                             const QString &subBlock);
// A string value ("\StringFileInfo\041904E3\CompanyName") as the ANSI query returns it: up to its
// NUL, converted to Windows-1251 (characters it lacks become "?").
std::optional<QString> VerQueryValueAnsi(std::span<const std::byte> data, const QString &subBlock);
