#pragma once
// The identifier strings through which the program names a resource: the type string ("3" for an
// integer type, "AVI" for a named one) and the name string ("#101" for an integer name, the name
// itself otherwise).
#include "pe/ResourceId.h"

#include <QString>

// The type string of a type: its decimal digits, or its name.
QString TypeString(const ResourceId &type);
// The name string of a name, as its tree node's text gives it: "#" put in front of a text that
// reads as a number.
QString NameString(const ResourceId &name);
// The text a tree node shows for an identifier: the decimal value or the name.
QString IdentifierText(const ResourceId &id);
