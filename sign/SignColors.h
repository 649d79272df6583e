#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace tickerlux::sign {

// The "Color:" choices in list order: a document's ColorIndex is a position in this list.

struct SignColor {
    const char* name;  // the list entry, e.g. "Dim Green"
    char code;         // the byte that follows 0x1C in the text
};

inline constexpr std::array<SignColor, 11> kColors = {{
    {"Amber", '3'},
    {"Autocolor", 'C'},
    {"Brown", '6'},
    {"Dim Green", '5'},
    {"Dim Red", '4'},
    {"Green", '2'},
    {"Orange", '7'},
    {"Rainbow 1", '9'},
    {"Rainbow 2", 'A'},
    {"Red", '1'},
    {"Yellow", '8'},
}};

inline constexpr int kAutocolorIndex = 1;
inline constexpr int kDefaultColorIndex = 9;  // "Red", a new document's choice

// The colour code of a ColorIndex; an index outside the list (a settings file may hold any
// integer) gives the code of "Autocolor", so the sign always gets a valid colour.
char ColorCode(int colorIndex);

// The list entry of a colour code, or nullptr when the code is not one of the list's.
const char* ColorNameForCode(char code);

// A ColorIndex from its number ("9") or its list entry in any case ("dim green");
// nullopt when the text names no entry of the list.
std::optional<int> ParseColorIndex(std::string_view text);

} // namespace tickerlux::sign
