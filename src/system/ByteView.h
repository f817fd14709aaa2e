#pragma once
// A byte array's bytes as the readers and writers take them.
#include <QByteArray>
#include <cstddef>
#include <span>

inline std::span<const std::byte> AsBytes(const QByteArray &bytes) {
    return std::as_bytes(std::span(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}
