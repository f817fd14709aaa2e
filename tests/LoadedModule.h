#pragma once
// Loads a fixture (or any file) as the program's module for the life of the object, and catches the
// failure code of a call.
#include "Fixtures.h"
#include "resources/Module.h"
#include "system/ErrorReport.h"

#include <functional>
#include <optional>

class LoadedModule {
public:
    explicit LoadedModule(const QString &path) : loaded_(LoadModule(path)) {}
    ~LoadedModule() { ReleaseModule(); }
    LoadedModule(const LoadedModule &) = delete;
    LoadedModule &operator=(const LoadedModule &) = delete;
    bool loaded() const { return loaded_; }

private:
    bool loaded_;
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
