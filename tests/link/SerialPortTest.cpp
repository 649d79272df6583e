#include "link/SerialPort.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPty.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <string>

using namespace tickerlux;
using namespace tickerlux::link;
using namespace tickerlux::test;

namespace {

using namespace std::chrono_literals;

// The errno and operation a call raises; 0 and "" when it raises nothing.
std::pair<int, std::string> FailureOf(const std::function<void()>& operation)
{
    try {
        operation();
    } catch (const CSerialException& failure) {
        return {failure.Error(), failure.Operation()};
    }
    return {0, ""};
}

const LineSettings k7E1{9600, 7, SerialParity::Even, SerialStopBits::One};

TEST(SerialPortTest, OpenOfAMissingDeviceRaisesAndStaysClosed)
{
    CTempDir dir;
    CSerialPort port;
    EXPECT_EQ(FailureOf([&] { port.Open(dir.File("no-such-tty"), k7E1); }),
              std::make_pair(ENOENT, std::string("open")));
    EXPECT_FALSE(port.IsOpen());
}

TEST(SerialPortTest, APortHeldByAnotherOpenerIsBusyUntilReleased)
{
    CTestPty pty;
    CSerialPort holder;
    holder.Open(pty.SlavePath(), k7E1);

    CSerialPort second;
    EXPECT_EQ(FailureOf([&] { second.Open(pty.SlavePath(), k7E1); }),
              std::make_pair(EBUSY, std::string("open")));
    EXPECT_FALSE(second.IsOpen());

    holder.Close();
    second.Open(pty.SlavePath(), k7E1);
    EXPECT_TRUE(second.IsOpen());
}

TEST(SerialPortTest, WritesBinaryWithTheLinesSpeedAndStopBitsAndReportsProgress)
{
    CTestPty pty;
    CSerialPort port;
    port.Open(pty.SlavePath(), {19200, 8, SerialParity::None, SerialStopBits::Two});
    long long sent = 0, total = 0;
    port.Write("abc\n", 4, 2s, [&](long long s, long long t) {
        sent = s;
        total = t;
    });
    EXPECT_EQ(pty.Read(4), "abc\n");  // binary: no CR added
    EXPECT_EQ(std::make_pair(sent, total), std::make_pair(4LL, 4LL));
    EXPECT_EQ(pty.Speed(), 19200u);
    EXPECT_TRUE(pty.TwoStopBits());
}

TEST(SerialPortTest, DiscardInputDropsWhatTheSignSent)
{
    CTestPty pty;
    CSerialPort port;
    port.Open(pty.SlavePath(), k7E1);
    pty.Send("hello");
    port.DiscardInput();
    port.Write("x", 1, 2s);
    EXPECT_EQ(pty.Read(1), "x");
}

// Nobody reads the terminal: the write gives up at the deadline the caller set, and discards what
// it had queued so that closing does not wait for it.
TEST(SerialPortTest, AWriteNobodyReadsEndsAtTheCallersDeadline)
{
    CTestPty pty;
    CSerialPort port;
    port.Open(pty.SlavePath(), k7E1);
    const std::string bytes(60033, 'x');
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(FailureOf([&] { port.Write(bytes.data(), bytes.size(), 200ms); }),
              std::make_pair(ETIMEDOUT, std::string("write")));
    EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
    port.Close();
    EXPECT_LT(pty.Read(bytes.size()).size(), bytes.size());
}

TEST(SerialPortTest, FailuresCarryTheSystemsText)
{
    EXPECT_EQ(CSerialException(EBUSY, "open").Message(), "Device or resource busy");
    EXPECT_EQ(CSerialException(99999, "open").Message(), "error 99999");
}

TEST(SerialPortTest, WriteDeadlineIsOneAndAHalfLineTimesPlusTheSlack)
{
    // 60,033 characters of 10 bits at 9600 bit/s take 62.534 s on the line.
    EXPECT_EQ(CSerialPort::WriteDeadline(60033, k7E1, 2000ms), 93802ms + 2000ms);
    // 11 bits a character at 1100 bit/s: 10 ms each.
    EXPECT_EQ(CSerialPort::WriteDeadline(100, {1100, 8, SerialParity::None, SerialStopBits::Two},
                                         0ms),
              1500ms);
}

} // namespace
