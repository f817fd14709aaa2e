#include "resources/IdentifierStrings.h"

#include "text/TextHelpers.h"

QString TypeString(const ResourceId &type) {
    return IdentifierText(type);
}

QString NameStringOfText(const QString &text) {
    return ReadsAsNumber(text) ? QLatin1Char('#') + text : text;
}

QString NameString(const ResourceId &name) {
    return NameStringOfText(IdentifierText(name));
}

QString IdentifierText(const ResourceId &id) {
    return id.isNumber() ? QString::number(*id.number) : id.name;
}
