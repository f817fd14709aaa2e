// Accelerator tables: one line per whole 8-byte entry.
#include "decoders/AcceleratorText.h"
#include "system/ErrorReport.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    try {
        const QString text = AcceleratorText(std::as_bytes(std::span(data, size)));
        if (text.count(QLatin1String(")\r\n")) != static_cast<qsizetype>(size / 8)) __builtin_trap();
    } catch (const ErrorReport &e) {
        if (e.code() != ErrorReport::OutOfRange || size >= 8) __builtin_trap();
    }
    return 0;
}
