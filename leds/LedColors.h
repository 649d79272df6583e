#pragma once

#include <QRgb>

#include <cstddef>

namespace tickerlux::leds {

// The colours of the sign's LEDs.

inline constexpr QRgb kDarkLed = qRgb(38, 30, 28);   // an LED that is off
inline constexpr QRgb kPanel = qRgb(10, 10, 10);     // the face between the LEDs

// The colour of an LED of the character at `index` (counted along the line) on `row`, for a
// colour code. Autocolor and the rainbows change colour along the line as a sign does; a code
// the sign does not know shows red.
QRgb LedColor(char colorCode, std::size_t index, int row);

} // namespace tickerlux::leds
