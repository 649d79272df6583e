#include "sign/SignColors.h"

#include "base/AsciiCase.h"

#include <charconv>

namespace tickerlux::sign {

char ColorCode(int colorIndex)
{
    const bool inList = colorIndex >= 0 && colorIndex < static_cast<int>(kColors.size());
    return kColors[inList ? colorIndex : kAutocolorIndex].code;
}

const char* ColorNameForCode(char code)
{
    for (const SignColor& color : kColors) {
        if (color.code == code)
            return color.name;
    }
    return nullptr;
}

std::optional<int> ParseColorIndex(std::string_view text)
{
    int index = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), index);
    if (error == std::errc() && end == text.data() + text.size() && !text.empty()) {
        if (index >= 0 && index < static_cast<int>(kColors.size()))
            return index;
        return std::nullopt;
    }
    for (std::size_t i = 0; i < kColors.size(); ++i) {
        if (base::EqualsIgnoringAsciiCase(text, kColors[i].name))
            return static_cast<int>(i);
    }
    return std::nullopt;
}

} // namespace tickerlux::sign
