#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <QImage>

namespace tickerlux::leds {

// What the sign shows, laid out as LEDs.

struct LedText {
    std::string text;       // Windows-1252
    char colorCode = '1';   // the sign's colour code: '1' red, '3' amber, 'C' autocolor, ...
    bool condensed = false;
    bool scrolls = false;   // rotate and compressed rotate move the line; other modes stand

    bool operator==(const LedText&) const = default;
};

// The face for a decoded text's colour and mode codes as a sign takes them: no colour code shows
// red, compressed rotate ('t') is condensed, rotate and compressed rotate scroll.
LedText FromSignCodes(std::string text, std::optional<char> colorCode,
                      std::optional<char> modeCode);

// What a sign shows for a sign line (Windows-1252) that the program sends with a colour choice
// and the condensed switch: the line as the sign decodes it, without the characters the encoder
// drops and with its numeric references turned into characters.
LedText FromSignLine(std::string_view line, int colorIndex, bool condensed);

// The line at one pixel an LED, seven rows high, one dark column between characters: each lit
// LED in its colour, each dark one in kDarkLed. Empty for an empty text.
QImage LitImage(const LedText& text);

// The number of LED columns that LitImage gives the first `characters` characters of `text`.
int ColumnsOf(const LedText& text, std::size_t characters);

} // namespace tickerlux::leds
