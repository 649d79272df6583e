#include "leds/LedText.h"

#include "leds/LedColors.h"
#include "leds/LedFont.h"
#include "sign/AlphaProtocol.h"
#include "sign/SignDecoder.h"
#include "sign/TextEncoder.h"

#include <algorithm>
#include <vector>

namespace tickerlux::leds {

namespace {

LedFontKind FontOf(const LedText& text)
{
    return text.condensed ? LedFontKind::Condensed : LedFontKind::Normal;
}

} // namespace

LedText FromSignCodes(std::string text, std::optional<char> colorCode, std::optional<char> modeCode)
{
    LedText face;
    face.text = std::move(text);
    face.colorCode = colorCode.value_or('1');
    face.condensed = modeCode == sign::kModeCompressedRotate;
    face.scrolls = modeCode == sign::kModeRotate || face.condensed;
    return face;
}

LedText FromSignLine(std::string_view line, int colorIndex, bool condensed)
{
    std::vector<unsigned char> transmission(sign::kMaxTextTransmissionLength);
    const std::size_t length =
        sign::BuildTextTransmission(transmission.data(), line, colorIndex, condensed);
    const sign::DecodedTransmission decoded =
        sign::DecodeTransmission(transmission.data(), length);
    if (!decoded.text)
        return {};
    const sign::DecodedText& text = *decoded.text;
    return FromSignCodes(text.text, text.hasColor ? std::optional(text.colorCode) : std::nullopt,
                         text.hasMode ? std::optional(text.mode) : std::nullopt);
}

int ColumnsOf(const LedText& text, std::size_t characters)
{
    characters = std::min(characters, text.text.size());
    int columns = 0;
    for (std::size_t i = 0; i < characters; ++i)
        columns += Glyph(FontOf(text), static_cast<unsigned char>(text.text[i])).width + 1;
    return columns > 0 ? columns - 1 : 0;  // no gap after the last
}

QImage LitImage(const LedText& text)
{
    const int width = ColumnsOf(text, text.text.size());
    if (width == 0)
        return {};
    QImage image(width, kRows, QImage::Format_RGB32);
    image.fill(kDarkLed);
    int x = 0;
    for (std::size_t i = 0; i < text.text.size(); ++i) {
        const LedGlyph& glyph = Glyph(FontOf(text), static_cast<unsigned char>(text.text[i]));
        for (int row = 0; row < kRows; ++row) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
            const QRgb color = LedColor(text.colorCode, i, row);
            for (int column = 0; column < glyph.width; ++column)
                if (glyph.columns[column] & (1u << row))
                    line[x + column] = color;
        }
        x += glyph.width + 1;
    }
    return image;
}

} // namespace tickerlux::leds
