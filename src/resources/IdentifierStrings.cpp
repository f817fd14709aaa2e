#include "resources/IdentifierStrings.h"

#include "text/TextHelpers.h"

QString TypeString(const ResourceId &type) {
    return IdentifierText(type);
}

QString NameString(const ResourceId &name) {
    // A string name made of digits gives the same string as the integer name of that value.
    const QString text = IdentifierText(name);
    return ReadsAsNumber(text) ? QLatin1Char('#') + text : text;
}

QString IdentifierText(const ResourceId &id) {
    return id.isNumber() ? QString::number(*id.number) : id.name;
}
