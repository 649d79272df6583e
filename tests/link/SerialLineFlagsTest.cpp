// Open's choices as terminal flag bits. A pseudo-terminal forces 8 data bits and no parity, so
// the framing a real UART would get is checked here, on the translation itself.
#include "link/SerialLineFlags.h"
#include "link/SerialPort.h"

#include <gtest/gtest.h>

#include <asm/termbits.h>
#include <ostream>

namespace {

struct FramingCase {
    const char* name;
    std::uint8_t dataBits;
    std::int32_t parity;
    std::int32_t stopBits;
    std::int32_t flow;
    std::uint32_t portCflag; // what the port reported before Open
    std::uint32_t portIflag;
    std::uint32_t wantCflag; // of the bits CSIZE PARENB PARODD CMSPAR CSTOPB CRTSCTS
    std::uint32_t wantIflag; // of the bits IXON IXOFF INPCK
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
    serialposix::TerminalFlags port;
    port.cflag = c.portCflag | B9600 | CREAD;
    port.iflag = c.portIflag | ICRNL;
    port.oflag = OPOST | ONLCR;
    port.lflag = ICANON | ECHO | ISIG;
    SerialLineState dcb = serialposix::FromTerminalFlags(port);
    ApplyOpenChoices(dcb, 9600, static_cast<SerialParity>(c.parity), c.dataBits,
                     static_cast<SerialStopBits>(c.stopBits),
                     static_cast<SerialFlowControl>(c.flow));

    serialposix::TerminalFlags flags = port;
    ASSERT_TRUE(serialposix::ToTerminalFlags(dcb, flags));
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
    OpenChoices, FramingTest,
    testing::Values(
        FramingCase{"Classic7E1", 7, parityEven, stopOne, flowNone, CS8, 0, CS7 | PARENB, INPCK},
        FramingCase{"Custom8N1", 8, parityNone, stopOne, flowNone, CS7 | PARENB, 0, CS8, 0},
        FramingCase{"Odd7O2", 7, parityOdd, stopTwo, flowNone, CS8, 0,
                    CS7 | PARENB | PARODD | CSTOPB, INPCK},
        FramingCase{"Mark", 8, parityMark, stopOne, flowNone, CS8, 0,
                    CS8 | PARENB | PARODD | CMSPAR, INPCK},
        FramingCase{"Space", 8, paritySpace, stopOne, flowNone, CS8, 0, CS8 | PARENB | CMSPAR,
                    INPCK},
        FramingCase{"FiveBitsOneAndHalfStop", 5, parityNone, stopOneAndHalf, flowNone, CS8, 0,
                    CS5 | CSTOPB, 0},
        FramingCase{"SixBits", 6, parityNone, stopOne, flowNone, CS8, 0, CS6, 0},
        FramingCase{"CtsRts", 8, parityNone, stopOne, flowCtsRts, CS8, 0, CS8 | CRTSCTS, 0},
        FramingCase{"CtsDtr", 8, parityNone, stopOne, flowCtsDtr, CS8, 0, CS8 | CRTSCTS, 0},
        // Linux has no DSR flow control: the DSR choices leave the line without handshaking.
        FramingCase{"DsrRtsHasNoCounterpart", 8, parityNone, stopOne, flowDsrRts, CS8 | CRTSCTS, 0,
                    CS8, 0},
        FramingCase{"XonXoff", 8, parityNone, stopOne, flowXonXoff, CS8 | CRTSCTS, 0, CS8,
                    IXON | IXOFF},
        FramingCase{"NoneClearsHandshakes", 8, parityNone, stopOne, flowNone, CS8 | CRTSCTS,
                    IXON | IXOFF, CS8, 0},
        FramingCase{"ParityOutOfRangeKeepsThePorts", 7, 7, stopOne, flowNone, CS8 | PARENB | PARODD,
                    0, CS7 | PARENB | PARODD, INPCK},
        FramingCase{"StopBitsOutOfRangeKeepThePorts", 8, parityNone, 5, flowNone, CS8 | CSTOPB, 0,
                    CS8 | CSTOPB, 0},
        FramingCase{"FlowOutOfRangeKeepsThePorts", 8, parityNone, stopOne, 9, CS8 | CRTSCTS, IXON,
                    CS8 | CRTSCTS, IXON}),
    [](const testing::TestParamInfo<FramingCase>& row) { return std::string(row.param.name); });

TEST(FramingTest, XonXoffSetsTheCharactersAndLimits)
{
    SerialLineState dcb;
    dcb.XonChar = 'a';
    dcb.XoffChar = 'b';
    ApplyOpenChoices(dcb, 2400, parityNone, 8, stopOne, flowXonXoff);
    EXPECT_EQ(dcb.XonChar, 0x11);
    EXPECT_EQ(dcb.XoffChar, 0x13);
    EXPECT_EQ(dcb.XonLim, 100);
    EXPECT_EQ(dcb.XoffLim, 100);
    serialposix::TerminalFlags flags;
    ASSERT_TRUE(serialposix::ToTerminalFlags(dcb, flags));
    EXPECT_EQ(flags.vstart, 0x11);
    EXPECT_EQ(flags.vstop, 0x13);
}

TEST(FramingTest, SpeedsWithoutACodeGoAsTheirNumber)
{
    SerialLineState dcb;
    dcb.BaudRate = 250000;
    serialposix::TerminalFlags flags;
    ASSERT_TRUE(serialposix::ToTerminalFlags(dcb, flags));
    EXPECT_EQ(flags.cflag & CBAUD, static_cast<std::uint32_t>(BOTHER));
    EXPECT_EQ(flags.speed, 250000u);
}

TEST(FramingTest, ValuesNoTerminalTakesAreRefused)
{
    for (const auto& change :
         {+[](SerialLineState& d) { d.ByteSize = 9; }, +[](SerialLineState& d) { d.ByteSize = 4; },
          +[](SerialLineState& d) { d.BaudRate = 0; }, +[](SerialLineState& d) { d.Parity = 5; },
          +[](SerialLineState& d) { d.StopBits = 3; }}) {
        SerialLineState dcb;
        change(dcb);
        serialposix::TerminalFlags flags;
        flags.cflag = 0x1234;
        EXPECT_FALSE(serialposix::ToTerminalFlags(dcb, flags));
        EXPECT_EQ(flags.cflag, 0x1234u);
    }
}

} // namespace
