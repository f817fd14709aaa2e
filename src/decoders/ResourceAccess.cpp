#include "decoders/ResourceAccess.h"

#include "resources/Module.h"
#include "resources/TextHelpers.h"
#include "system/ErrorReport.h"

namespace {
// "#" followed by decimal digits names the integer identifier of that value, as the platform
// reads a name string; anything else is a name.
ResourceId NameId(const QString &name) {
    if (name.startsWith(QLatin1Char('#')))
        if (const auto n = NumberValue(name.mid(1)); n && *n <= 0xFFFF)
            return ResourceId::fromNumber(static_cast<std::uint16_t>(*n));
    return ResourceId::fromName(name);
}
} // namespace

std::optional<std::span<const std::byte>> FindResourceData(const QString &type, const QString &name) {
    const PeImage *module = ModuleHandle();
    if (module == nullptr) return std::nullopt;
    const ResourceId nameId = NameId(name);
    // A numeric type string is tried as an integer type first; only 1 to 65535 are integer
    // identifiers, so any other number (only a named type can produce one) is a name.
    if (const auto n = NumberValue(type); n && *n >= 1 && *n <= 0xFFFF)
        if (auto found = module->Find(ResourceId::fromNumber(static_cast<std::uint16_t>(*n)), nameId))
            return found;
    return module->Find(ResourceId::fromName(type), nameId);
}

std::optional<ResourceBytes> GetResourceBytes(const QString &type, const QString &name) {
    const auto data = FindResourceData(type, name);
    if (!data || data->empty()) return std::nullopt;
    return ResourceBytes(data->begin(), data->end());
}

std::int32_t GetResourceSize(const QString &type, const QString &name) {
    const auto data = FindResourceData(type, name);
    return data ? CheckedCast<std::int32_t>(data->size()) : 0;
}
