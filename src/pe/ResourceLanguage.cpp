#include "pe/ResourceLanguage.h"

#include <array>

std::size_t PreferredLanguageIndex(std::span<const std::uint16_t> languages) {
    static constexpr std::array<std::uint16_t, 7> kPreference = {0x0000, 0x0419, 0x0019, 0x0400,
                                                                 0x0800, 0x0409, 0x0009};
    for (std::uint16_t wanted : kPreference)
        for (std::size_t i = 0; i < languages.size(); ++i)
            if (languages[i] == wanted) return i;
    return 0;
}
