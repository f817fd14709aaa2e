#include "decoders/ResourceAccess.h"

#include "system/ErrorReport.h"

std::optional<ResourceBytes> GetResourceBytes(const ModuleCatalogue &module, const ResourceEntry &entry) {
    auto bytes = module.Bytes(entry);
    if (!bytes || bytes->empty()) return std::nullopt;
    return bytes;
}

std::int32_t GetResourceSize(const ModuleCatalogue &module, const ResourceEntry &entry) {
    return CheckedCast<std::int32_t>(module.Size(entry).value_or(0));
}
