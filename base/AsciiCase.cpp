#include "base/AsciiCase.h"

#include <algorithm>

namespace tickerlux::base {

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string AsciiLowered(std::string_view text)
{
    std::string out(text);
    std::ranges::transform(out, out.begin(), AsciiLower);
    return out;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b, [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() &&
           EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

bool LessIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    return std::ranges::lexicographical_compare(
        a, b, [](char x, char y) { return AsciiLower(x) < AsciiLower(y); });
}

} // namespace tickerlux::base
