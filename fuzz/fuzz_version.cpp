// Version data (VS_VERSIONINFO, 32-bit and 16-bit forms) as the version report reads it.
#include "decoders/VersionText.h"
#include "system/ErrorReport.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    try {
        const QString text = VersionTextFromData(std::as_bytes(std::span(data, size)));
        if (!text.startsWith(QStringLiteral("Информация о версии:\r\n\r\n"))) __builtin_trap();
    } catch (const ErrorReport &e) {
        if (e.code() != ErrorReport::OutOfRange) __builtin_trap();
    }
    return 0;
}
