#include "formats/IconImageShape.h"

#include "pe/ByteReader.h"
#include "system/ErrorReport.h"

#include <QtEndian>
#include <cstring>

bool IsPng(std::span<const std::byte> data) {
    constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    return data.size() >= sizeof kSignature && std::memcmp(data.data(), kSignature, sizeof kSignature) == 0;
}

IconImageShape StoredShape(std::span<const std::byte> image) {
    const ByteReader r(image);
    if (IsPng(image)) {
        // The signature, then IHDR's length and name, then its width and height, big-endian.
        const auto be = [&](std::size_t at) { return qFromBigEndian<quint32>(r.spanAt(at, 4).data()); };
        return {be(16), be(20), 32};
    }
    const std::uint32_t headerSize = r.u32At(0);
    if (headerSize == 12) return {r.u16At(4), r.u16At(6) / 2u, r.u16At(10)};
    if (headerSize < 40) ErrorReport::invalidPicture();
    const auto height = static_cast<std::int32_t>(r.u32At(8));
    const std::uint32_t rows = height < 0 ? 0u - static_cast<std::uint32_t>(height) : static_cast<std::uint32_t>(height);
    return {r.u32At(4), rows / 2, r.u16At(14)};
}
