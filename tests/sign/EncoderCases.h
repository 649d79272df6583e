#pragma once

#include <ostream>
#include <string>
#include <vector>

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
