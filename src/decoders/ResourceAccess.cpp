#include "decoders/ResourceAccess.h"

#include "resources/Module.h"
#include "system/ErrorReport.h"

std::optional<ResourceBytes> GetResourceBytes(const ModuleCatalogue &module, const ResourceEntry &entry) {
    auto bytes = module.Bytes(entry);
    if (!bytes || bytes->empty()) return std::nullopt;
    return bytes;
}

std::int32_t GetResourceSize(const ModuleCatalogue &module, const ResourceEntry &entry) {
    return CheckedCast<std::int32_t>(module.Size(entry).value_or(0));
}

ResourceEntry LoadedEntry(const QString &type, const QString &name) {
    return CurrentModule().EntryFor(type, name);
}

std::optional<ResourceBytes> GetResourceBytes(const QString &type, const QString &name) {
    return GetResourceBytes(CurrentModule(), LoadedEntry(type, name));
}

std::int32_t GetResourceSize(const QString &type, const QString &name) {
    return GetResourceSize(CurrentModule(), LoadedEntry(type, name));
}
