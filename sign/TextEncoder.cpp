#include "sign/TextEncoder.h"

#include "sign/Framing.h"
#include "sign/SignCharTable.h"
#include "sign/SignColors.h"

#include <algorithm>
#include <array>

namespace tickerlux::sign {

namespace {

// What one byte value becomes on the sign: `count` (0 to 2) of `bytes`.
struct Encoded {
    std::array<unsigned char, 2> bytes{};
    unsigned char count = 0;
};

Encoded ExtendedOrNothing(int signCode)
{
    if (signCode == 0)
        return {};
    return {{kExtendedChar, static_cast<unsigned char>(signCode)}, 2};
}

// The table's answers turned into output bytes once, for every raw byte and every reference
// value, so encoding is one load per input byte.
struct EncodingTables {
    std::array<Encoded, 256> raw{};
    std::array<Encoded, 256> reference{};
    std::array<bool, 256> plain{};  // goes out unchanged and starts no reference

    EncodingTables()
    {
        const CSignCodeMap& map = CSignCodeMap::BuiltIn();
        for (int value = 0; value < 256; ++value) {
            const int signCode = map.SignCode(static_cast<unsigned char>(value));
            const auto byte = static_cast<unsigned char>(value);
            // Printable ASCII (with '~', which has no row) goes out as it is; control bytes
            // have no row and are dropped.
            raw[value] = byte >= 0x20 && byte <= 0x7E ? Encoded{{byte, 0}, 1}
                                                      : ExtendedOrNothing(signCode);
            plain[value] = byte >= 0x20 && byte <= 0x7E && byte != '&';
            // A reference below 0x80 names a plain character: its sign code alone.
            if (value >= 0x80 || signCode == 0)
                reference[value] = ExtendedOrNothing(signCode);
            else
                reference[value] = {{static_cast<unsigned char>(signCode), 0}, 1};
        }
    }
};

const EncodingTables& Tables()
{
    static const EncodingTables tables;
    return tables;
}

bool IsDigit(unsigned char byte)
{
    return byte >= '0' && byte <= '9';
}

// Writes both bytes whatever the count: the output has room for two bytes per input byte, and
// a byte past the count is overwritten by the next write or lies beyond the result.
unsigned char* Put(unsigned char* out, const Encoded& encoded)
{
    out[0] = encoded.bytes[0];
    out[1] = encoded.bytes[1];
    return out + encoded.count;
}

} // namespace

std::size_t EncodeSignText(unsigned char* output, const unsigned char* input, std::size_t length)
{
    const EncodingTables& tables = Tables();
    unsigned char* out = output;
    std::size_t i = 0;
    while (i < length) {
        const unsigned char byte = input[i];
        if (tables.plain[byte]) {
            // Plain text goes out as it is, a run at a time.
            std::size_t end = i + 1;
            while (end < length && tables.plain[input[end]])
                ++end;
            out = std::copy(input + i, input + end, out);
            i = end;
        } else if (byte == '&' && i + 1 < length && input[i + 1] == '#') {
            std::size_t digits = 0;
            unsigned value = 0;
            for (std::size_t at = i + 2;
                 digits < kMaxReferenceDigits && at < length && IsDigit(input[at]); ++at) {
                value = value * 10 + static_cast<unsigned>(input[at] - '0');
                ++digits;
            }
            out = Put(out, tables.reference[value & 0xFF]);
            // '&', '#', the digits, and the byte after them whatever it is (normally ';').
            i += digits + 3;
        } else {
            out = Put(out, tables.raw[byte]);
            ++i;
        }
    }
    return static_cast<std::size_t>(out - output);
}

std::bitset<256> ShowableBytes()
{
    std::bitset<256> showable;
    for (std::size_t byte = 0; byte < showable.size(); ++byte)
        showable[byte] = Tables().raw[byte].count > 0;
    return showable;
}

std::string LiteralText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '&' && at + 1 < text.size() && text[at + 1] == '#')
            out += "&#38;";
        else
            out += text[at];
    }
    return out;
}

std::size_t BuildTextTransmission(unsigned char* buffer, std::string_view line, int colorIndex,
                                  bool condensed)
{
    const std::size_t lineLength = std::min(line.size(), kMaxLineLength);
    unsigned char* p = buffer + WriteFrameStart(buffer, kCommandWriteText);
    *p++ = kFileLabel;
    *p++ = kEsc;
    *p++ = kPositionMiddleLine;
    *p++ = condensed ? kModeCompressedRotate : kModeRotate;
    *p++ = kSelectColor;
    *p++ = static_cast<unsigned char>(ColorCode(colorIndex));
    p += EncodeSignText(p, reinterpret_cast<const unsigned char*>(line.data()), lineLength);
    *p++ = kEot;
    return static_cast<std::size_t>(p - buffer);
}

} // namespace tickerlux::sign
