// The thumbnailer over arbitrary file bytes: the first icon group found, its image chosen for a
// size taken from the input, decoded within the thumbnailer's bounds and fitted to the size.
#include "FuzzFile.h"
#include "thumbnailer/ShellIcon.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 2) return 0;
    const QString path = InputAsFile(data, size);
    if (path.isEmpty()) return 0;
    // Sizes from 1 to 512, the common ones most often.
    static const int kCommon[] = {16, 32, 48, 128, 256};
    const int asked = data[size - 1] < 128 ? kCommon[data[size - 1] % 5] : 1 + (data[size - 1] - 128) * 4;
    const Made<Pixels> made = ShellIconThumbnail(path, asked);
    if (made && (made.value().width > asked || made.value().height > asked)) __builtin_trap();
    return 0;
}
