#include "leds/LedColors.h"

#include <array>
#include <cstddef>

namespace tickerlux::leds {

namespace {

constexpr QRgb kRed = qRgb(255, 38, 24);
constexpr QRgb kGreen = qRgb(40, 235, 60);
constexpr QRgb kAmber = qRgb(255, 176, 0);       // red and green together
constexpr QRgb kDimRed = qRgb(140, 22, 14);
constexpr QRgb kDimGreen = qRgb(24, 128, 34);
constexpr QRgb kBrown = qRgb(150, 78, 16);
constexpr QRgb kOrange = qRgb(255, 108, 0);
constexpr QRgb kYellow = qRgb(255, 232, 30);

// Autocolor gives each character the next of the sign's three pure colours; rainbow 1 walks
// each character through the spectrum, rainbow 2 paints the rows in bands.
constexpr std::array kAutocolor = {kRed, kGreen, kAmber};
constexpr std::array kRainbow = {kRed, kOrange, kYellow, kAmber, kGreen};

} // namespace

QRgb LedColor(char colorCode, std::size_t index, int row)
{
    switch (colorCode) {
    case '2': return kGreen;
    case '3': return kAmber;
    case '4': return kDimRed;
    case '5': return kDimGreen;
    case '6': return kBrown;
    case '7': return kOrange;
    case '8': return kYellow;
    case '9': return kRainbow[index % kRainbow.size()];
    case 'A': return kRainbow[static_cast<std::size_t>(row) % kRainbow.size()];
    case 'B':
    case 'C': return kAutocolor[index % kAutocolor.size()];
    default: return kRed;
    }
}

} // namespace tickerlux::leds
