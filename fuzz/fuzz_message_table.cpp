// Message tables: blocks and entries anywhere in the data, shared or not.
#include "decoders/MessageTableText.h"
#include "system/ErrorReport.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    try {
        // A small bound keeps each run short; the bound itself is what is exercised.
        MessageTableText(std::as_bytes(std::span(data, size)), 1 << 20);
    } catch (const ErrorReport &e) {
        if (e.code() != ErrorReport::OutOfRange && e.code() != ErrorReport::OutOfMemory) __builtin_trap();
    }
    return 0;
}
