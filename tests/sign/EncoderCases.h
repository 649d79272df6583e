#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tickerlux::test {

// Sign lines (Windows-1252 bytes) and the text the sign gets for each, shared by the tests of
// the encoder and of `tickerlux-cli encode`.
struct EncoderCase {
    std::string name;
    std::string line;
    std::string text;  // the bytes between the colour code and EOT
};

inline void PrintTo(const EncoderCase& c, std::ostream* os)
{
    *os << c.name;
}

inline std::vector<EncoderCase> EncoderCases()
{
    using namespace std::string_literals;
    const std::string eAcute = "\x08\x22";
    return {
        {"EmptyLine", "", ""},
        {"RawEAcute", "\xE9", eAcute},
        {"ReferenceEAcute", "&#233;", eAcute},
        {"ReferenceValueModulo256", "&#489;", eAcute},
        {"ApostropheThenEAcute", "&#39;&#233;", "'" + eAcute},
        {"RightQuoteHasNoRowAndConsumesSevenBytes", "a&#8217;b", "ab"},
        {"SpaceAfterDigitsIsConsumed", "&#65 B", "AB"},
        {"EightDigitsConsumeTheEighth", "&#00000650;", "A;"},
        {"HexReferenceHasValueZero", "&#x41;", ">41;"},
        {"LineEndingInAmpersandHash", "ab&#", "ab>"},
        {"ReferenceCutByTheEndOfTheLine", "x&#65", "xA"},
        {"TildeReferenceDroppedRawTildeSent", "&#126;~", "~"},
        {"RawCapitalEAcuteTakesTheFirstRow", "\xC9", "\x08\x30"},
        {"ReferenceCapitalEAcute", "&#201;", "\x08\x30"},
        {"TabNoBreakSpaceAndEuroDropped", "a\tb\xA0" "c\x80" "d", "abcd"},
        {"AmpersandWithoutHash", "R&D &", "R&D &"},
        {"PrintableAsciiUnchanged", " !\"#$%'()*+,-./09:;<=>?@AZ[\\]^_`az{|}~",
         " !\"#$%'()*+,-./09:;<=>?@AZ[\\]^_`az{|}~"},
        // Each Windows-1252 character that has an extended row, in the order of the rows.
        {"EveryExtendedCharacter",
         "\xC7\xFC\xE9\xE2\xE4\xE0\xE5\xE7\xEA\xEB\xE8\xEF\xEE"
         "\xEC\xC4\xC5\xC9\xE6\xC6\xF4\xF6\xF2\xFB\xF9\xFF\xD6"
         "\xDC\xA2\xA3\xA5\x83\xE1\xED\xF3\xFA\xF1\xD1\xAA\xBA"
         "\xBF\xB0\xA1\xF8\xD8\xDF\xC1\xC0\xC3\xE3\xCD\xD5\xF5",
         "\x08\x20\x08\x21\x08\x22\x08\x23\x08\x24\x08\x25\x08\x26"
         "\x08\x27\x08\x28\x08\x29\x08\x2A\x08\x2B\x08\x2C\x08\x2D"
         "\x08\x2E\x08\x2F\x08\x30\x08\x31\x08\x32\x08\x33\x08\x34"
         "\x08\x35\x08\x36\x08\x37\x08\x38\x08\x39\x08\x3A\x08\x3B"
         "\x08\x3C\x08\x3D\x08\x3F\x08\x40\x08\x41\x08\x42\x08\x43"
         "\x08\x44\x08\x45\x08\x46\x08\x47\x08\x48\x08\x49\x08\x4A"
         "\x08\x4C\x08\x4D\x08\x57\x08\x5A\x08\x5B\x08\x5C\x08\x5D"
         "\x08\x5F\x08\x60\x08\x61"},
        {"LongLineCutAt30000", std::string(30000, 'a') + "b", std::string(30000, 'a')},
        {"ReferenceAcrossTheCutIsNotSeen", std::string(29999, 'a') + "&#65;",
         std::string(29999, 'a') + "&"},
        {"ThirtyThousandAccentedLetters", std::string(30000, '\xE9'),
         [&] {
             std::string text;
             for (int i = 0; i < 30000; ++i)
                 text += eAcute;
             return text;
         }()},
    };
}

// The write-text transmission of `text` with a new document's settings: rotate, red.
inline std::string DefaultTransmission(const std::string& text)
{
    return std::string(20, '\0') + "\x01Z00\x02" "AA\x1B a\x1C" "1" + text + "\x04";
}

} // namespace tickerlux::test
