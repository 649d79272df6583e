#pragma once

#include <array>
#include <cstdint>

namespace tickerlux::leds {

// The sign's two fonts, seven LEDs high: normal and condensed. Every character of the sign's
// table has a glyph (text is Windows-1252, as the sign line holds it).

inline constexpr int kRows = 7;
inline constexpr int kMaxGlyphWidth = 5;

struct LedGlyph {
    int width = 0;
    // One bit a row for each column, bit 0 the top row.
    std::array<std::uint8_t, kMaxGlyphWidth> columns{};
};

enum class LedFontKind { Normal, Condensed };

// The glyph of a Windows-1252 byte. A byte the sign cannot show gets the box that stands for an
// unknown character; the condensed font uses the normal glyph where it draws none narrower.
const LedGlyph& Glyph(LedFontKind font, unsigned char byte);

// Whether `font` draws a glyph of its own for `byte` (the fallbacks above excepted).
bool HasOwnGlyph(LedFontKind font, unsigned char byte);

} // namespace tickerlux::leds
