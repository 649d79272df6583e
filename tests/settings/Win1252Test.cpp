#include "base/Win1252.h"

#include <gtest/gtest.h>

using namespace tickerlux;
using namespace tickerlux::base;

namespace {

struct Utf8Case {
    const char* name;
    std::string utf8;
    std::string bytes;
};

void PrintTo(const Utf8Case& c, std::ostream* os)
{
    *os << c.name;
}

class Utf8ToWin1252 : public testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8ToWin1252, Converts)
{
    EXPECT_EQ(win1252::FromUtf8(GetParam().utf8), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8ToWin1252,
    testing::Values(Utf8Case{"Ascii", "Hello ~", "Hello ~"},
                    Utf8Case{"Latin1", "Caf\xC3\xA9 \xC3\x89", "Caf\xE9 \xC9"},
                    Utf8Case{"EuroAndQuotes", "\xE2\x82\xAC\xE2\x80\x99", "\x80\x92"},
                    Utf8Case{"NoMappingBecomesQuestionMark", "\xE2\x98\x83", "?"},
                    Utf8Case{"EmojiBecomesOneQuestionMark", "\xF0\x9F\x98\x80", "?"},
                    Utf8Case{"TruncatedSequence", "a\xC3", "a?"},
                    Utf8Case{"StrayContinuation", "\x80z", "?z"},
                    Utf8Case{"Overlong", "\xC0\xAF", "??"},
                    Utf8Case{"EncodedSurrogate", "\xED\xA0\x80", "???"},
                    Utf8Case{"UndefinedByteRoundTrips", "\xC2\x81", "\x81"}),
    [](const auto& c) { return c.param.name; });

TEST(Win1252, EveryByteRoundTripsThroughUtf8)
{
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(win1252::FromUtf8(win1252::ToUtf8(one)), one) << "byte " << b;
    }
}

TEST(Win1252, Utf16LittleEndian)
{
    using namespace std::string_literals;
    EXPECT_EQ(win1252::FromUtf16Le("A\0\xE9\0\xAC\x20"s), "A\xE9\x80");
    EXPECT_EQ(win1252::FromUtf16Le("\x3D\xD8\x00\xDE"s), "?");   // U+1F600, no mapping
    EXPECT_EQ(win1252::FromUtf16Le("\x00\xDC" "B\0"s), "?B");     // lone low surrogate
    EXPECT_EQ(win1252::FromUtf16Le("A\0B"s), "A");                // odd trailing byte ignored
}

} // namespace
