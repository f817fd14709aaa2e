#pragma once
// How the program's tables pick a row by a resource's type: an integer type by its number, a named
// type by its name without case. A type named with the plain digits of a number ("14") is read as
// that number, as every table that keys on the type's text has always read it.
#include "pe/ResourceId.h"

#include <cstdint>
#include <initializer_list>

bool IsTypeOf(const ResourceId &type, std::initializer_list<std::uint16_t> numbers,
              std::initializer_list<const char *> names = {});
