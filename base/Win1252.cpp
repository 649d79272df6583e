#include "base/Win1252.h"

#include "base/Utf8.h"

#include <array>

namespace tickerlux::base::win1252 {
namespace {

// 0x80..0x9F: the code page's own characters; 0 marks the five undefined bytes.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

} // namespace

char32_t ToUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F && kHigh[byte - 0x80] != 0)
        return kHigh[byte - 0x80];
    return byte;
}

char FromUnicode(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<char>(cp);
    for (std::size_t i = 0; i < kHigh.size(); ++i) {
        const char32_t mapped = kHigh[i] != 0 ? kHigh[i] : static_cast<char32_t>(0x80 + i);
        if (mapped == cp)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

std::string ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        // ASCII is the same in both, so runs of it are copied whole.
        const std::size_t ascii = at;
        while (at < bytes.size() && static_cast<unsigned char>(bytes[at]) < 0x80)
            ++at;
        out.append(bytes.substr(ascii, at - ascii));
        if (at < bytes.size())
            utf8::Append(out, ToUnicode(static_cast<unsigned char>(bytes[at])));
    }
    return out;
}

std::string FromUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();)
        out += FromUnicode(utf8::NextCodePoint(text, at).value_or(U'?'));
    return out;
}

std::optional<std::string> FromUtf8Exactly(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::optional<char32_t> cp = utf8::NextCodePoint(text, at);
        const char byte = cp ? FromUnicode(*cp) : '?';
        if (byte == '?' && cp != U'?')
            return std::nullopt;
        out += byte;
    }
    return out;
}

std::string FromUtf16Le(std::string_view units)
{
    std::string out;
    out.reserve(units.size() / 2);
    const std::size_t count = units.size() / 2;
    auto unitAt = [&](std::size_t k) {
        return static_cast<char32_t>(static_cast<unsigned char>(units[2 * k]) |
                                     (static_cast<unsigned char>(units[2 * k + 1]) << 8));
    };
    for (std::size_t k = 0; k < count; ++k) {
        const char32_t unit = unitAt(k);
        if (unit >= 0xD800 && unit <= 0xDBFF && k + 1 < count) {
            const char32_t low = unitAt(k + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                out += FromUnicode(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                ++k;
                continue;
            }
        }
        out += (unit >= 0xD800 && unit <= 0xDFFF) ? '?' : FromUnicode(unit);
    }
    return out;
}

} // namespace tickerlux::base::win1252
