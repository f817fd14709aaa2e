#pragma once
// A fixture (or any file) opened as a module the test owns, the entries that identifier strings
// name in it, and the failure code of a call.
#include "Fixtures.h"
#include "resources/ModuleCatalogue.h"
#include "system/ErrorReport.h"
#include "text/TextHelpers.h"

#include <functional>
#include <memory>
#include <optional>

// The entry that a type string and a name string name, read as the window's tree writes them: a
// numeric type string is the integer type where the module has that resource under it, else the
// type of that name; "#" and digits name an integer name. Where neither exists, the entry the
// strings would name, which yields no data.
inline ResourceEntry EntryOf(const ModuleCatalogue &module, const QString &type, const QString &name) {
    const ResourceId nameId = ResourceId::fromString(name);
    const ResourceEntry named{ResourceId::fromName(type), nameId};
    const auto number = NumberValue(type);
    if (!number || *number < 1 || *number > 0xFFFF) return named;
    const ResourceEntry integer{ResourceId::fromNumber(static_cast<std::uint16_t>(*number)), nameId};
    return module.Size(integer) || !module.Size(named) ? integer : named;
}

class OpenedModule {
public:
    explicit OpenedModule(const QString &path) : module_(ModuleCatalogue::Open(path)) {}
    bool loaded() const { return module_ != nullptr; }
    const ModuleCatalogue &get() const { return module_ ? *module_ : ModuleCatalogue::Empty(); }
    operator const ModuleCatalogue &() const { return get(); }
    const ModuleCatalogue *operator->() const { return &get(); }
    ResourceEntry Entry(const QString &type, const QString &name) const { return EntryOf(get(), type, name); }

private:
    std::shared_ptr<const ModuleCatalogue> module_;
};

// The code of the failure the call raises; empty when it raises none.
inline std::optional<int> FailureCode(const std::function<void()> &call) {
    try {
        call();
    } catch (const ErrorReport &e) {
        return e.code();
    }
    return std::nullopt;
}

// Bytes of a string literal with embedded NULs, for hand-built resources.
inline std::vector<std::byte> ByteVector(const QByteArray &bytes) {
    const auto *p = reinterpret_cast<const std::byte *>(bytes.constData());
    return std::vector<std::byte>(p, p + bytes.size());
}
