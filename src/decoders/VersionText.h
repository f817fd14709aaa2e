#pragma once
// Version information (resource type 16): a short report of the file's version data.
#include "resources/ModuleCatalogue.h"

#include <QString>
#include <cstddef>
#include <span>

// The report of the module's version data, whichever of its version resources is shown:
// "Информация о версии:", an empty line, then one labelled line per non-empty value of the first
// translation's string table, in a fixed order. Raises code 9 when the module has no version
// data, or when the data's lengths point outside it.
QString VersionText(const ModuleCatalogue &module);
QString VersionTextFromData(std::span<const std::byte> data);
