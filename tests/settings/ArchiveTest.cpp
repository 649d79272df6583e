#include "settings/Archive.h"

#include <gtest/gtest.h>

#include <string>

using namespace tickerlux;
using namespace tickerlux::settings;

using namespace std::string_literals;

namespace {

struct PrefixCase {
    const char* name;
    std::size_t length;
    std::string prefix;
};

void PrintTo(const PrefixCase& c, std::ostream* os)
{
    *os << c.name;
}

class TextPrefix : public testing::TestWithParam<PrefixCase> {};

TEST_P(TextPrefix, IsWrittenAndReadBack)
{
    std::string text(GetParam().length, 'x');
    if (!text.empty())
        text.back() = 'y';
    CArchive out;
    out << text;
    const std::string& bytes = out.StoredBytes();
    ASSERT_EQ(bytes.size(), GetParam().prefix.size() + text.size());
    EXPECT_EQ(bytes.substr(0, GetParam().prefix.size()), GetParam().prefix);

    CArchive in(bytes);
    std::string back;
    in >> back;
    EXPECT_EQ(back, text);
    EXPECT_EQ(in.BytesLeft(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, TextPrefix,
    testing::Values(PrefixCase{"Empty", 0, "\x00"s}, PrefixCase{"L254", 254, "\xFE"s},
                    PrefixCase{"L255", 255, "\xFF\xFF\x00"s},
                    PrefixCase{"L300", 300, "\xFF\x2C\x01"s},
                    PrefixCase{"L65533", 65533, "\xFF\xFD\xFF"s},
                    PrefixCase{"L65534", 65534, "\xFF\xFF\xFF\xFE\xFF\x00\x00"s},
                    PrefixCase{"L70000", 70000, "\xFF\xFF\xFF\x70\x11\x01\x00"s}),
    [](const auto& c) { return c.param.name; });

TEST(Archive, IntegersAreFourBytesLittleEndian)
{
    CArchive out;
    out << 0x01020304 << -1 << 9;
    EXPECT_EQ(out.StoredBytes(), "\x04\x03\x02\x01\xFF\xFF\xFF\xFF\x09\x00\x00\x00"s);
    CArchive in(out.StoredBytes());
    int a = 0, b = 0, c = 0;
    in >> a >> b >> c;
    EXPECT_EQ(a, 0x01020304);
    EXPECT_EQ(b, -1);
    EXPECT_EQ(c, 9);
}

struct LoadCase {
    const char* name;
    std::string bytes;
    std::string text;  // what loads; unused when the load must fail
};

void PrintTo(const LoadCase& c, std::ostream* os)
{
    *os << c.name;
}

// Lengths that point past the end fail before anything is allocated or read.
class HostileLength : public testing::TestWithParam<LoadCase> {};

TEST_P(HostileLength, FailsAsEndOfArchive)
{
    CArchive in(GetParam().bytes);
    std::string text;
    EXPECT_THROW(in >> text, CArchiveException);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HostileLength,
    testing::Values(
        LoadCase{"ByteLengthOneTooMany", "\x03" "ab"s, ""},
        LoadCase{"WordLength65533InFewBytes", "\xFF\xFD\xFF" "abc"s, ""},
        LoadCase{"Dword65534In40Bytes", "\xFF\xFF\xFF\xFE\xFF\x00\x00"s + std::string(33, 'a'), ""},
        LoadCase{"DwordAllOnes", "\xFF\xFF\xFF\xFF\xFF\xFF\xFF"s + std::string(33, 'a'), ""},
        LoadCase{"WideLengthCountsTwoBytesEach", "\xFF\xFE\xFF\x03" "A\0B\0C"s, ""},
        LoadCase{"WideDwordAllOnes", "\xFF\xFE\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF"s, ""},
        LoadCase{"PrefixCutInWord", "\xFF\x01"s, ""},
        LoadCase{"PrefixCutInDword", "\xFF\xFF\xFF\x01\x00"s, ""},
        LoadCase{"WideMarkerWithoutLength", "\xFF\xFE\xFF"s, ""}),
    [](const auto& c) { return c.param.name; });

class WideText : public testing::TestWithParam<LoadCase> {};

TEST_P(WideText, LoadsAsWindows1252)
{
    CArchive in(GetParam().bytes);
    std::string text;
    in >> text;
    EXPECT_EQ(text, GetParam().text);
    EXPECT_EQ(in.BytesLeft(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WideText,
    testing::Values(
        LoadCase{"ByteLength", "\xFF\xFE\xFF\x03" "A\0\xE9\0\xAC\x20"s, "A\xE9\x80"},
        LoadCase{"NoMappingBecomesQuestionMark", "\xFF\xFE\xFF\x02" "\x03\x26" "z\0"s, "?z"},
        LoadCase{"Empty", "\xFF\xFE\xFF\x00"s, ""},
        LoadCase{"WordLength", "\xFF\xFE\xFF\xFF\x01\x00" "b\0"s, "b"},
        LoadCase{"SecondMarkerIsALength",
                 "\xFF\xFE\xFF\xFF\xFE\xFF"s + std::string(2 * 0xFFFE, 'a').replace(1, 1, 1, '\0'),
                 "a" + std::string(0xFFFE - 1, '?')},
        LoadCase{"DwordLength", "\xFF\xFE\xFF\xFF\xFF\xFF\x01\x00\x00\x00" "c\0"s, "c"}),
    [](const auto& c) { return c.param.name; });

TEST(Archive, IntegerCutShortFails)
{
    CArchive in("\x01\x02\x03"s);
    int value = 0;
    EXPECT_THROW(in >> value, CArchiveException);
}

} // namespace
