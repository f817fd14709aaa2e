// The hexadecimal dump and the HTML text over arbitrary bytes.
#include "decoders/HexDump.h"
#include "system/AnsiCodePage.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const auto bytes = std::as_bytes(std::span(data, size));
    const QString dump = HexDump(bytes);
    if (dump.size() != static_cast<qsizetype>((size + 15) / 16 * 79)) __builtin_trap();
    const QString text = AnsiToUnicode(bytes);
    if (text.size() != static_cast<qsizetype>(size)) __builtin_trap();
    return 0;
}
