// Symbols the sign lacks, through the page text, the headline cleanup and the fold to the sign.
#include "headlines/HeadlineCleanup.h"
#include "headlines/PageText.h"
#include "headlines/ShowableText.h"
#include "sign/TextEncoder.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace tickerlux;
using namespace tickerlux::headlines;

namespace {

struct SpellingCase {
    const char* name;
    std::string utf8;
    std::string shown;
};

void PrintTo(const SpellingCase& c, std::ostream* os)
{
    *os << c.name;
}

class PlainSpellingsTest : public ::testing::TestWithParam<SpellingCase> {};

TEST_P(PlainSpellingsTest, LeaveAPlainSpelling)
{
    static const CShowableText sign(sign::ShowableBytes());
    const std::string text = ToCodePage("a" + GetParam().utf8 + "b", "UTF-8");
    EXPECT_EQ(sign.Fold(CleanHeadline(text)), "a" + GetParam().shown + "b");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlainSpellingsTest,
    ::testing::Values(
        SpellingCase{"GreaterOrEqual", "\xE2\x89\xA5", ">="},
        SpellingCase{"LessOrEqual", "\xE2\x89\xA4", "<="},
        SpellingCase{"Arrow", "\xE2\x86\x92", "->"}, SpellingCase{"MiddleDot", "\xC2\xB7", "-"},
        SpellingCase{"Dagger", "\xE2\x80\xA0", "+"}, SpellingCase{"Micro", "\xC2\xB5", "u"},
        SpellingCase{"Section", "\xC2\xA7", "S"}, SpellingCase{"Pilcrow", "\xC2\xB6", "P"},
        SpellingCase{"PerMille", "\xE2\x80\xB0", "o/oo"}, SpellingCase{"Not", "\xC2\xAC", "-"},
        SpellingCase{"BrokenBar", "\xC2\xA6", "|"}, SpellingCase{"Acute", "\xC2\xB4", "'"},
        SpellingCase{"Diaeresis", "\xC2\xA8", "\""}, SpellingCase{"Cedilla", "\xC2\xB8", ","}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
