#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <string>
#include <string_view>

namespace tickerlux::headlines {

// Windows-1252 text rewritten with only the characters a display can show: each other character
// becomes what a reader expects in its place, as far as the display can show that: curly
// quotes ' and ", dashes -, … ..., € EUR, ™ TM, © (C), a non-breaking space a space, an accented
// letter its base letter. A character with no such spelling is left out.
class CShowableText {
public:
    // The most bytes one character becomes (" 1/2" for ½).
    static constexpr std::size_t kMaxBytesPerCharacter = 4;

    // `showable[b]`: the display shows byte b as it is.
    explicit CShowableText(const std::bitset<256>& showable);

    std::string Fold(std::string_view text) const;

private:
    std::array<std::string, 256> m_spelling;
};

} // namespace tickerlux::headlines
