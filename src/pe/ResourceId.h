#pragma once
// A resource type, name or language as the resource directory stores it: a 16-bit integer
// identifier or a UTF-16 name.
#include <QString>
#include <cstdint>
#include <optional>

struct ResourceId {
    std::optional<std::uint16_t> number;
    QString name; // only when number is empty

    static ResourceId fromNumber(std::uint16_t n) { return {n, {}}; }
    static ResourceId fromName(QString s) { return {std::nullopt, std::move(s)}; }

    bool isNumber() const { return number.has_value(); }
    // Names compare without case, as the platform's lookups do.
    bool matches(const ResourceId &other) const {
        if (isNumber() || other.isNumber()) return number == other.number;
        return name.compare(other.name, Qt::CaseInsensitive) == 0;
    }
    bool operator==(const ResourceId &) const = default;
};
