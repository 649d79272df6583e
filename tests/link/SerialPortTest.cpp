#include "link/SerialPort.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPty.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <ostream>
#include <string>

namespace {

constexpr int kCom = 4;

std::uint32_t ErrorOf(const std::function<void()>& operation)
{
    try {
        operation();
    } catch (const CSerialException& failure) {
        return failure.m_nErrorCode;
    }
    return 0;
}

TEST(SerialPortTest, CloseAndDetachOnAClosedPortDoNothing)
{
    CSerialPort port;
    port.Close();
    port.Close();
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.Detach(), kInvalidSerialHandle);
}

TEST(SerialPortTest, OperationsOnAClosedPortRaiseTheSystemsCode)
{
    CSerialPort port;
    SerialLineState dcb;
    std::uint32_t value = 0;
    EXPECT_EQ(ErrorOf([&] { port.GetLineState(dcb); }), static_cast<std::uint32_t>(EBADF));
    EXPECT_EQ(ErrorOf([&] { port.Write("x", 1); }), static_cast<std::uint32_t>(EBADF));
    EXPECT_EQ(ErrorOf([&] { port.QueryModemLines(value); }), static_cast<std::uint32_t>(EBADF));
    EXPECT_EQ(ErrorOf([&] { port.SetQueueSizes(10, 10); }), static_cast<std::uint32_t>(EBADF));
    EXPECT_EQ(ErrorOf([&] { port.DiscardInput(); }), static_cast<std::uint32_t>(EBADF));
}

TEST(SerialPortTest, OpenOfAMissingPortRaisesAndStaysClosed)
{
    CScopedConfigHome home;
    CSerialPort port;
    EXPECT_EQ(ErrorOf([&] { port.Open(250, 9600, parityEven, 7, stopOne, flowNone); }),
              static_cast<std::uint32_t>(ENOENT));
    EXPECT_FALSE(port.IsOpen());
    SerialPortConfig config;
    EXPECT_EQ(ErrorOf([&] { CSerialPort::QueryDefaultConfig(250, config); }),
              static_cast<std::uint32_t>(ENOENT));
}

TEST(SerialPortTest, APortHeldByAnotherOpenerIsBusyUntilReleased)
{
    CScopedConfigHome home;
    CTestPty pty;
    pty.MapAs(kCom);
    CSerialPort holder;
    holder.Open(kCom, 9600, parityEven, 7, stopOne, flowNone);

    CSerialPort second;
    EXPECT_EQ(ErrorOf([&] { second.Open(kCom, 9600, parityEven, 7, stopOne, flowNone); }),
              static_cast<std::uint32_t>(EBUSY));
    EXPECT_FALSE(second.IsOpen());

    holder.Close();
    second.Open(kCom, 9600, parityEven, 7, stopOne, flowNone);
    EXPECT_TRUE(second.IsOpen());
}

TEST(SerialPortTest, DetachAndAttachKeepThePortUsableAndLocked)
{
    CScopedConfigHome home;
    CTestPty pty;
    pty.MapAs(kCom);
    CSerialPort port;
    port.Open(kCom, 19200, parityNone, 8, stopTwo, flowNone);
    port.Attach(port.Detach());
    EXPECT_TRUE(port.IsOpen());
    CSerialPort other;
    EXPECT_EQ(ErrorOf([&] { other.Open(kCom, 9600, parityEven, 7, stopOne, flowNone); }),
              static_cast<std::uint32_t>(EBUSY));
    EXPECT_EQ(port.Write("abc\n", 4), 4u);
    EXPECT_EQ(pty.Read(4), "abc\n"); // binary: no CR added
    EXPECT_EQ(pty.Speed(), 19200u);
    EXPECT_TRUE(pty.TwoStopBits());
}

TEST(SerialPortTest, APseudoTerminalAnswersModemAndBreakRequestsWithNoLines)
{
    CScopedConfigHome home;
    CTestPty pty;
    pty.MapAs(kCom);
    CSerialPort port;
    port.Open(kCom, 9600, parityEven, 7, stopOne, flowNone);
    std::uint32_t lines = 0xFFFF;
    port.QueryModemLines(lines);
    EXPECT_EQ(lines, 0u);
    port.BeginBreak();
    port.EndBreak();
}

TEST(SerialPortTest, InputQueueLengthCountsReceivedBytesUntilDiscarded)
{
    CScopedConfigHome home;
    CTestPty pty;
    pty.MapAs(kCom);
    CSerialPort port;
    port.Open(kCom, 9600, parityNone, 8, stopOne, flowNone);
    pty.Send("hello");
    // The kernel hands the bytes to the slave side asynchronously.
    while (port.InputQueueLength() < 5) {
    }
    EXPECT_EQ(port.InputQueueLength(), 5u);
    port.DiscardInput();
    EXPECT_EQ(port.InputQueueLength(), 0u);
}

struct MessageCase {
    const char* name;
    std::uint32_t code;
    unsigned maxChars;
    bool wantOk;
    std::string wantText;
};

void PrintTo(const MessageCase& c, std::ostream* os)
{
    *os << c.name;
}

class ErrorMessageTest : public testing::TestWithParam<MessageCase> {};

TEST_P(ErrorMessageTest, ComesFromTheSystemCutToTheCallersMaximum)
{
    const MessageCase& c = GetParam();
    char text[256];
    std::memset(text, 'Z', sizeof text);
    unsigned help = 77;
    EXPECT_EQ(CSerialException(c.code, "open").GetErrorMessage(text, c.maxChars, &help), c.wantOk);
    EXPECT_EQ(std::string(text), c.wantText);
    EXPECT_EQ(help, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ErrorMessageTest,
    testing::Values(MessageCase{"Busy", EBUSY, 256, true, "Device or resource busy"},
                    MessageCase{"CutToMaxLessOne", EBUSY, 7, true, "Device"},
                    MessageCase{"MaxOfOneGivesEmptyText", ENOENT, 1, true, ""},
                    MessageCase{"UnknownCode", 99999, 256, false, ""}),
    [](const testing::TestParamInfo<MessageCase>& row) { return std::string(row.param.name); });

TEST(SerialPortTest, WriteDeadlineIsOneAndAHalfLineTimesPlusTwoSeconds)
{
    SerialLineState line;
    line.BaudRate = 9600;
    line.ByteSize = 7;
    line.Parity = SerialLineState::kEvenParity;
    line.StopBits = SerialLineState::kOneStopBit;
    // 60,033 characters of 10 bits at 9600 bit/s take 62.534 s on the line.
    EXPECT_EQ(CSerialPort::WriteDeadlineMs(60033, line), 93802 + 2000);
    line.ByteSize = 8;
    line.Parity = SerialLineState::kNoParity;
    line.StopBits = SerialLineState::kTwoStopBits;
    line.BaudRate = 1100; // 11 bits a character: 10 ms each
    EXPECT_EQ(CSerialPort::WriteDeadlineMs(100, line), 1500 + 2000);
}

} // namespace
