// The pacing of --line-speed on a simulated clock: never faster than the line.
#include "tools/signsim/LinePacer.h"

#include <gtest/gtest.h>

using namespace tickerlux;
using namespace tickerlux::signsim;

namespace {

using Clock = signsim::CLinePacer::Clock;
using std::chrono::milliseconds;

// A reader that takes whatever it may, waking when the pacer says, for `seconds` of clock time.
std::size_t TakeFor(double bytesPerSecond, int seconds)
{
    signsim::CLinePacer pacer;
    const Clock::time_point start{std::chrono::hours(1)};
    Clock::time_point now = start;
    std::size_t taken = 0;
    while (now < start + std::chrono::seconds(seconds)) {
        const std::size_t allowance = pacer.Allowance(now, bytesPerSecond);
        if (allowance == 0) {
            now = std::max(now + std::chrono::microseconds(1), pacer.NextByteAt(now, bytesPerSecond));
            continue;
        }
        pacer.Took(allowance, now, bytesPerSecond);
        taken += allowance;
        now += milliseconds(3);
    }
    return taken;
}

TEST(LinePacerTest, TakesBytesAtTheLineRate)
{
    // 9600 bits per second, 10 bits a character: 960 bytes a second.
    const std::size_t taken = TakeFor(960.0, 10);
    EXPECT_LE(taken, 9600u + 20u);   // at most one short burst above the rate
    EXPECT_GE(taken, 9600u - 20u);
}

TEST(LinePacerTest, TwoStopBitsAreSlower)
{
    // 11 bits a character: 872.7 bytes a second.
    const std::size_t taken = TakeFor(9600.0 / 11, 10);
    EXPECT_LE(taken, 8727u + 20u);
    EXPECT_GE(taken, 8727u - 20u);
}

TEST(LinePacerTest, IdleTimeBuildsNoLargeCredit)
{
    signsim::CLinePacer pacer;
    const Clock::time_point start{std::chrono::hours(1)};
    pacer.Took(1, start, 960.0);
    // A minute of silence: the next read may take no more than a burst of about 20 ms.
    EXPECT_LE(pacer.Allowance(start + std::chrono::minutes(1), 960.0), 20u);
}

} // namespace
