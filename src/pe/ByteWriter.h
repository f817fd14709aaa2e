#pragma once
// Little-endian values appended to bytes being made, as ByteReader reads them back.
#include <QByteArray>
#include <cstdint>

inline void Put16(QByteArray &out, std::uint32_t v) {
    const char b[2] = {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
    out.append(b, 2);
}
inline void Put32(QByteArray &out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
