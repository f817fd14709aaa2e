#pragma once
// A resource type, name or language as the resource directory stores it: a 16-bit integer
// identifier or a UTF-16 name.
#include "text/TextHelpers.h"

#include <QString>
#include <cstdint>
#include <optional>

struct ResourceId {
    std::optional<std::uint16_t> number;
    QString name; // only when number is empty

    static ResourceId fromNumber(std::uint16_t n) { return {n, {}}; }
    static ResourceId fromName(QString s) { return {std::nullopt, std::move(s)}; }
    // How the platform's lookups read a name given as text: "#" followed by the digits of a value
    // from 0 to 65535 names the integer identifier of that value; anything else is a name.
    static ResourceId fromString(const QString &text) {
        if (text.startsWith(QLatin1Char('#')))
            if (const auto n = NumberValue(text.mid(1)); n && *n <= 0xFFFF)
                return fromNumber(static_cast<std::uint16_t>(*n));
        return fromName(text);
    }

    bool isNumber() const { return number.has_value(); }
    // Names compare without case, as the platform's lookups do.
    bool matches(const ResourceId &other) const {
        if (isNumber() || other.isNumber()) return number == other.number;
        return name.compare(other.name, Qt::CaseInsensitive) == 0;
    }
    bool operator==(const ResourceId &) const = default;
};
