// String-table blocks: the first two bytes choose the block number, the rest is the block.
#include "decoders/StringTableText.h"
#include "system/ErrorReport.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 2) return 0;
    const auto block = static_cast<std::int32_t>(data[0] | (data[1] << 8));
    try {
        const QString text = StringTableText(std::as_bytes(std::span(data + 2, size - 2)), block);
        if (!text.isEmpty() && !text.endsWith(QLatin1String("\r\n"))) __builtin_trap();
    } catch (const ErrorReport &e) {
        if (e.code() != ErrorReport::OutOfRange) __builtin_trap();
    }
    return 0;
}
