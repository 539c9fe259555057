// Comparisons that fold the ASCII letters a-z only, as the script's keywords
// and file extensions are compared.
#pragma once

#include <cstddef>
#include <string_view>

namespace setup32 {

constexpr char FoldAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// True when `text` from `pos` starts with `prefix`, letters compared without case.
constexpr bool StartsWithIgnoringCase(std::string_view text, std::size_t pos,
                                      std::string_view prefix) {
    if (pos > text.size() || text.size() - pos < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (FoldAscii(text[pos + i]) != FoldAscii(prefix[i])) return false;
    }
    return true;
}

constexpr bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && StartsWithIgnoringCase(a, 0, b);
}

}  // namespace setup32
