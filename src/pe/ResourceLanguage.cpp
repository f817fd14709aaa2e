#include "pe/ResourceLanguage.h"

#include <array>

namespace {
// The place of a language in the order of preference, lower first; every language not named
// shares the last.
int LanguageRank(std::uint16_t language) {
    static constexpr std::array<std::uint16_t, 7> kPreference = {0x0000, 0x0419, 0x0019, 0x0400,
                                                                 0x0800, 0x0409, 0x0009};
    for (std::size_t i = 0; i < kPreference.size(); ++i)
        if (kPreference[i] == language) return static_cast<int>(i);
    return static_cast<int>(kPreference.size());
}
} // namespace

std::size_t PreferredLanguageIndex(std::span<const std::uint16_t> languages) {
    // The first of equal rank wins, so a resource in no preferred language gives its first.
    std::size_t best = 0;
    for (std::size_t i = 1; i < languages.size(); ++i)
        if (LanguageRank(languages[i]) < LanguageRank(languages[best])) best = i;
    return best;
}
