// Line settings as terminal flag bits. A pseudo-terminal forces 8 data bits and no parity, so
// the framing a real UART would get is checked here, on the translation itself.
#include "link/SerialLineFlags.h"
#include "link/SerialPort.h"

#include <gtest/gtest.h>

#include <asm/termbits.h>
#include <ostream>

using namespace tickerlux;
using namespace tickerlux::link;

namespace {

using P = SerialParity;
using S = SerialStopBits;

struct FramingCase {
    const char* name;
    std::uint8_t dataBits;
    SerialParity parity;
    SerialStopBits stopBits;
    std::uint32_t portCflag;  // what the port had before
    std::uint32_t portIflag;
    std::uint32_t wantCflag;  // of the bits CSIZE PARENB PARODD CMSPAR CSTOPB CRTSCTS
    std::uint32_t wantIflag;  // of the bits IXON IXOFF INPCK
};

void PrintTo(const FramingCase& c, std::ostream* os)
{
    *os << c.name;
}

constexpr std::uint32_t kFramingBits = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS;
constexpr std::uint32_t kInputBits = IXON | IXOFF | INPCK;

class FramingTest : public testing::TestWithParam<FramingCase> {};

TEST_P(FramingTest, GivesTheTerminalFlags)
{
    const FramingCase& c = GetParam();
    link::TerminalFlags flags;
    flags.cflag = c.portCflag | B9600 | CREAD;
    flags.iflag = c.portIflag | ICRNL;
    flags.oflag = OPOST | ONLCR;
    flags.lflag = ICANON | ECHO | ISIG;

    ASSERT_TRUE(link::ToTerminalFlags({9600, c.dataBits, c.parity, c.stopBits}, flags));
    EXPECT_EQ(flags.cflag & kFramingBits, c.wantCflag);
    EXPECT_EQ(flags.iflag & kInputBits, c.wantIflag);
    // Whatever the choices, the bytes pass untouched and modem lines are ignored.
    EXPECT_EQ(flags.oflag & OPOST, 0u);
    EXPECT_EQ(flags.iflag & ICRNL, 0u);
    EXPECT_EQ(flags.lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(flags.cflag & (CREAD | CLOCAL), static_cast<std::uint32_t>(CREAD | CLOCAL));
    EXPECT_EQ(flags.speed, 9600u);
    EXPECT_EQ(flags.cflag & CBAUD, static_cast<std::uint32_t>(B9600));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, FramingTest,
    testing::Values(
        FramingCase{"Classic7E1", 7, P::Even, S::One, CS8, 0, CS7 | PARENB, INPCK},
        FramingCase{"Custom8N1", 8, P::None, S::One, CS7 | PARENB, 0, CS8, 0},
        FramingCase{"Odd7O2", 7, P::Odd, S::Two, CS8, 0, CS7 | PARENB | PARODD | CSTOPB, INPCK},
        FramingCase{"Mark", 8, P::Mark, S::One, CS8, 0, CS8 | PARENB | PARODD | CMSPAR, INPCK},
        FramingCase{"Space", 8, P::Space, S::One, CS8, 0, CS8 | PARENB | CMSPAR, INPCK},
        FramingCase{"FiveBitsOneAndHalfStop", 5, P::None, S::OneAndHalf, CS8, 0, CS5 | CSTOPB, 0},
        FramingCase{"SixBits", 6, P::None, S::One, CS8, 0, CS6, 0},
        // The sign's line has no handshaking, whatever the port had.
        FramingCase{"HandshakesCleared", 8, P::None, S::One, CS8 | CRTSCTS, IXON | IXOFF, CS8,
                    0}),
    [](const testing::TestParamInfo<FramingCase>& row) { return std::string(row.param.name); });

TEST(FramingTest, SpeedsWithoutACodeGoAsTheirNumber)
{
    link::TerminalFlags flags;
    ASSERT_TRUE(link::ToTerminalFlags({250000, 8, P::None, S::One}, flags));
    EXPECT_EQ(flags.cflag & CBAUD, static_cast<std::uint32_t>(BOTHER));
    EXPECT_EQ(flags.speed, 250000u);
}

TEST(FramingTest, ValuesNoTerminalTakesAreRefused)
{
    for (const LineSettings& line : {LineSettings{9600, 9, P::None, S::One},
                                   LineSettings{9600, 4, P::None, S::One},
                                   LineSettings{0, 8, P::None, S::One}}) {
        link::TerminalFlags flags;
        flags.cflag = 0x1234;
        EXPECT_FALSE(link::ToTerminalFlags(line, flags));
        EXPECT_EQ(flags.cflag, 0x1234u);
    }
}

} // namespace
