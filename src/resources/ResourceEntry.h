#pragma once
// One resource of a module named exactly as its directory lists it: the type's and the name's
// identifiers. Unlike the identifier strings, this tells an integer name 77 from a string name "77".
#include "pe/ResourceId.h"

struct ResourceEntry {
    ResourceId type;
    ResourceId name;
    bool operator==(const ResourceEntry &) const = default;
};
