#include "engine/UpdateInterval.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

using namespace tickerlux;
using namespace tickerlux::engine;

namespace {

struct IntervalCase {
    const char* name;
    std::string text;
    int minutes;
    std::string textAfter;
};

void PrintTo(const IntervalCase& c, std::ostream* os)
{
    *os << c.name;
}

class UpdateIntervalTest : public testing::TestWithParam<IntervalCase> {};

TEST_P(UpdateIntervalTest, ReadsAndClampsTheText)
{
    const IntervalCase& c = GetParam();
    std::string text = c.text;
    const interval::UpdateMinutes result = interval::GetUpdateMinutes(text);
    EXPECT_EQ(result.minutes, c.minutes);
    EXPECT_EQ(text, c.textAfter);
    EXPECT_EQ(result.rewritten, c.text != c.textAfter);
    EXPECT_EQ(interval::TimerPeriod(result.minutes).count(), c.minutes * 60000LL);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, UpdateIntervalTest,
    testing::Values(
        IntervalCase{"EmptyMeansSixty", "", 60, ""},
        IntervalCase{"Plain", "30", 30, "30"},
        IntervalCase{"One", "1", 1, "1"},
        IntervalCase{"FiveThousand", "5000", 5000, "5000"},
        IntervalCase{"ZeroBecomesOne", "0", 1, "1"},
        IntervalCase{"SixThousandBecomesFiveThousand", "6000", 5000, "5000"},
        IntervalCase{"NoDigitsBecomesOne", "abc", 1, "1"},
        IntervalCase{"OnlySpaceBecomesOne", "  ", 1, "1"},
        IntervalCase{"TrailingCharactersKept", "15min", 15, "15min"},
        IntervalCase{"LeadingSpaceAndPlus", " \t+20", 20, " \t+20"},
        IntervalCase{"NegativeBecomesOne", "-5", 1, "1"},
        IntervalCase{"SignWithoutDigitsBecomesOne", "+", 1, "1"},
        IntervalCase{"SpaceAfterSignIsNoNumber", "- 5", 1, "1"},
        IntervalCase{"LeadingZeros", "0007", 7, "0007"},
        IntervalCase{"BeyondInt32", "99999999999999999999999", 5000, "5000"},
        IntervalCase{"JustAboveInt32", "2147483648", 5000, "5000"},
        IntervalCase{"HugeNegative", "-99999999999999999999999", 1, "1"},
        IntervalCase{"DecimalPointEndsNumber", "2.5", 2, "2.5"}),
    [](const testing::TestParamInfo<IntervalCase>& row) { return std::string(row.param.name); });

TEST(TimerPeriodTest, ClampsOutOfRangeMinutes)
{
    EXPECT_EQ(interval::TimerPeriod(0).count(), 60000);
    EXPECT_EQ(interval::TimerPeriod(99999).count(), 300000000);
}

} // namespace
