#include "resources/IdentifierStrings.h"

#include "resources/TextHelpers.h"

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

ResourceId NameIdOfString(const QString &name) {
    if (name.startsWith(QLatin1Char('#')))
        if (const auto n = NumberValue(name.mid(1)); n && *n <= 0xFFFF)
            return ResourceId::fromNumber(static_cast<std::uint16_t>(*n));
    return ResourceId::fromName(name);
}

std::optional<ResourceId> IntegerTypeOfString(const QString &type) {
    if (const auto n = NumberValue(type); n && *n >= 1 && *n <= 0xFFFF)
        return ResourceId::fromNumber(static_cast<std::uint16_t>(*n));
    return std::nullopt;
}
