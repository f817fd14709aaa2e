// Menu templates, standard and extended: building never fails loudly, it gives no menu.
#include "decoders/MenuText.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const auto bytes = std::as_bytes(std::span(data, size));
    const QString text = MenuTextFromTemplate(bytes);
    const auto menu = LoadMenuFromTemplate(bytes);
    if (menu.has_value() != (!text.isEmpty() || (menu && menu->items.empty()))) __builtin_trap();
    if (!text.isEmpty() && !text.endsWith(QLatin1String("\r\n"))) __builtin_trap();
    return 0;
}
