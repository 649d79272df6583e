#pragma once

#include <string>
#include <string_view>

// Letter case of ASCII alone, whatever the locale: registry names, colour names, address schemes,
// header fields and markup compare so, and bytes outside ASCII stay as they are.
namespace tickerlux::base {

char AsciiLower(char c);
std::string AsciiLowered(std::string_view text);
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);
bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix);
// Orders as the registry orders names: by their lower-case letters.
bool LessIgnoringAsciiCase(std::string_view a, std::string_view b);

} // namespace tickerlux::base
