// The dialog-template reader over arbitrary bytes: it reads a template or fails with code 9.
#include "formats/DialogTemplate.h"
#include "system/ErrorReport.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::span<const std::byte> bytes(reinterpret_cast<const std::byte *>(data), size);
    try {
        const DialogTemplate dialog = ReadDialogTemplate(bytes);
        // What was read lies inside the data, and every item took at least its fixed part.
        if (dialog.end > size || dialog.items.size() * 24 > size) std::abort();
    } catch (const ErrorReport &e) {
        if (e.code() != ErrorReport::OutOfRange) std::abort();
    }
    return 0;
}
