#include "engine/TickerluxEngine.h"
#include "link/LineSettingsChoices.h"
#include "link/SerialPort.h"
#include "settings/PortMap.h"
#include "settings/TickerluxDoc.h"
#include "tests/support/EngineOnPty.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>

using namespace tickerlux;
using namespace tickerlux::base;
using namespace tickerlux::settings;
using namespace tickerlux::headlines;
using namespace tickerlux::link;
using namespace tickerlux::engine;
using namespace tickerlux::test;

namespace {

constexpr int kCom = 3;
constexpr int kTransmissionSize = 60033;

// A transmission's worth of bytes, different for each `seed`, with every byte value in it.
std::string Pattern(std::size_t size, unsigned seed)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 31 + seed * 7 + i / 251) & 0xFF);
    return bytes;
}

Transmission Bytes(const std::string& bytes)
{
    return {bytes.begin(), bytes.end()};
}

class SignLinkTest : public testing::Test, protected CEngineOnPty<> {
protected:
    SignLinkTest() : CEngineOnPty(kCom) {}

    void Deliver(const std::string& bytes, int port = kCom)
    {
        // As a front end does for each command: the port map in force as it starts.
        engine.SetPortMap(settings::LoadUserSettings().settings.Ports);
        doc.Comm.ComPort = port;
        engine.SendToSign(engine.GetSignPort(), Bytes(bytes));
    }
};

struct LineCase {
    const char* name;
    const char* connection;
    int baudRate;
    int byteSize;
    const char* parity;
    int stopBits;
    std::uint32_t wantSpeed;
    bool wantTwoStopBits;
    int wantDocBaudRate;
    int wantDocByteSize;
};

void PrintTo(const LineCase& c, std::ostream* os)
{
    *os << c.name;
}

class LineSettingsTest : public SignLinkTest, public testing::WithParamInterface<LineCase> {};

TEST_P(LineSettingsTest, TransmissionArrivesWithTheDocumentsSpeedAndStopBits)
{
    const LineCase& c = GetParam();
    doc.Comm.Connection = settings::ConnectionKindOf(c.connection);
    doc.Comm.BaudRate = c.baudRate;
    doc.Comm.ByteSize = c.byteSize;
    doc.Comm.Parity = settings::ParityOf(c.parity).value();
    doc.Comm.StopBits = settings::StopBitsOf(c.stopBits).value();
    const std::string clear = Pattern(28, 1);

    Deliver(clear);

    EXPECT_EQ(pty.Read(clear.size()), clear);
    EXPECT_EQ(pty.Speed(), c.wantSpeed);
    EXPECT_EQ(pty.TwoStopBits(), c.wantTwoStopBits);
    EXPECT_EQ(doc.Comm.BaudRate, c.wantDocBaudRate);
    EXPECT_EQ(doc.Comm.ByteSize, c.wantDocByteSize);
    EXPECT_TRUE(ui.failures.empty()) << ui.failures.front();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(doc.IsModified());
}

INSTANTIATE_TEST_SUITE_P(
    Serial, LineSettingsTest,
    testing::Values(LineCase{"ClassicKind", "serial port - betabrite classic", 9600, 7, "even", 1,
                             9600, false, 9600, 7},
                    LineCase{"Custom19200TwoStopBits", "serial port - custom settings", 19200, 8,
                             "none", 2, 19200, true, 19200, 8},
                    LineCase{"CustomSpeedWithoutACode", "serial port - custom settings", 250000, 8,
                             "odd", 1, 250000, false, 250000, 8},
                    LineCase{"BaudRateZeroBecomes9600", "serial port - custom settings", 0, 8,
                             "none", 1, 9600, false, 9600, 8},
                    LineCase{"ByteSize6Becomes7", "serial port - custom settings", 4800, 6, " ", 2,
                             4800, true, 4800, 7},
                    LineCase{"UnsetStopBitsGiveOne", "serial port - custom settings", 2400, 7, "",
                             0, 2400, false, 2400, 7},
                    LineCase{"EmptyConnectionIsSerial", "", 9600, 7, "even", 1, 9600, false, 9600,
                             7},
                    LineCase{"UsbInOtherLetterCaseIsSerial", "USB - betabrite prism", 38400, 7,
                             "even", 1, 38400, false, 38400, 7},
                    LineCase{"UsbWithTrailingBlankIsSerial", "usb - betabrite prism ", 57600, 7,
                             "even", 1, 57600, false, 57600, 7}),
    [](const testing::TestParamInfo<LineCase>& row) { return std::string(row.param.name); });

// A pseudo-terminal forces no parity, so the parity chosen from the document's text is checked
// here; the stop bits are checked on the terminal above.
struct ChoiceCase {
    const char* name;
    settings::Parity parity;
    SerialParity wantParity;
    settings::StopBits stopBits;
    SerialStopBits wantStopBits;
};

void PrintTo(const ChoiceCase& c, std::ostream* os)
{
    *os << c.name;
}

class LineChoiceTest : public testing::TestWithParam<ChoiceCase> {};

TEST_P(LineChoiceTest, UnsetValuesGiveEvenParityAndOneStopBit)
{
    const ChoiceCase& c = GetParam();
    EXPECT_EQ(ParityChoice(c.parity), c.wantParity);
    EXPECT_EQ(StopBitsChoice(c.stopBits), c.wantStopBits);
}

INSTANTIATE_TEST_SUITE_P(
    Serial, LineChoiceTest,
    testing::Values(
        ChoiceCase{"NoneOneStopBit", settings::Parity::None, SerialParity::None,
                   settings::StopBits::One, SerialStopBits::One},
        ChoiceCase{"EvenTwoStopBits", settings::Parity::Even, SerialParity::Even,
                   settings::StopBits::Two, SerialStopBits::Two},
        ChoiceCase{"OddOneStopBit", settings::Parity::Odd, SerialParity::Odd,
                   settings::StopBits::One, SerialStopBits::One},
        ChoiceCase{"BlankParityUnsetStopBits", settings::Parity::Blank, SerialParity::Even,
                   settings::StopBits::Unset, SerialStopBits::One},
        ChoiceCase{"UnsetParityTwoStopBits", settings::Parity::Unset, SerialParity::Even,
                   settings::StopBits::Two, SerialStopBits::Two}),
    [](const testing::TestParamInfo<ChoiceCase>& row) { return std::string(row.param.name); });

// Tells a waiting reader when the link has begun to write.
class CProgressUi : public CRecordingUi {
public:
    void DeliveryProgress(long long sent, long long total) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_sent = sent;
        m_total = total;
        m_changed.notify_all();
    }
    void WaitForProgress()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [this] { return m_sent > 0; });
    }
    void Reset()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_sent = 0;
        m_total = 0;
    }
    long long Sent()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_sent;
    }
    long long Total()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_total;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    long long m_sent = 0;
    long long m_total = 0;
};

TEST(SignLinkLongTest, FullTransmissionArrivesWholeFiftyTimesToALateSlowReader)
{
    CEngineOnPty<CProgressUi> rig(kCom);
    auto& [home, pty, doc, ui, engine] = rig;
    doc.Comm.Connection = settings::ConnectionKindOf("serial port - betabrite classic");

    for (unsigned round = 0; round < 50; ++round) {
        const std::string transmission = Pattern(kTransmissionSize, round);
        ui.Reset();
        std::string received;
        // The reader starts only once the link is writing, and takes 97 bytes at a time.
        std::thread reader([&] {
            ui.WaitForProgress();
            received = pty.Read(transmission.size(), 97);
        });
        engine.SendToSign(engine.GetSignPort(), Bytes(transmission));
        reader.join();
        ASSERT_EQ(received.size(), transmission.size()) << "round " << round;
        ASSERT_TRUE(received == transmission) << "round " << round;
        ASSERT_EQ(ui.Sent(), kTransmissionSize);
        ASSERT_EQ(ui.Total(), kTransmissionSize);
    }
    EXPECT_TRUE(ui.failures.empty());
}

TEST_F(SignLinkTest, AReaderThatNeverReadsMakesTheDeliveryFailAtItsDeadline)
{
    // At 4,000,000 bit/s and no slack the deadline for 60,033 bytes is about 0.23 s.
    doc.Comm.Connection = settings::ConnectionKindOf("serial port - custom settings");
    doc.Comm.BaudRate = 4000000;
    engine.SetSerialDeadlineSlack(std::chrono::milliseconds(0));
    const std::string transmission = Pattern(kTransmissionSize, 5);

    Deliver(transmission);

    ASSERT_EQ(ui.failures.size(), 1u);
    EXPECT_EQ(ui.failures[0], "COM3 (" + pty.SlavePath() + "): write: Connection timed out");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_LT(pty.Read(transmission.size()).size(), transmission.size());
}

TEST_F(SignLinkTest, AMissingPortFailsSilentlyAndLeavesTheSettingsUncorrected)
{
    const std::string missing = home.Path() + "/no-such-tty";
    SetStoredPortEntry(9, missing);
    doc.Comm.BaudRate = 0;
    doc.Comm.ByteSize = 6;

    Deliver(Pattern(28, 2), 9);

    EXPECT_TRUE(ui.messages.empty());
    ASSERT_EQ(ui.failures.size(), 1u);
    EXPECT_EQ(ui.failures[0], "COM9 (" + missing + "): open: No such file or directory");
    EXPECT_EQ(doc.Comm.BaudRate, 0);
    EXPECT_EQ(doc.Comm.ByteSize, 6);
}

TEST_F(SignLinkTest, APortHeldByAnotherOpenerFailsAndSendsNothing)
{
    CSerialPort holder;
    holder.Open(pty.SlavePath(), {9600, 7, SerialParity::Even, SerialStopBits::One});
    engine.SetPortWaitLimit(std::chrono::milliseconds(0));

    Deliver(Pattern(28, 3));

    ASSERT_EQ(ui.failures.size(), 1u);
    EXPECT_EQ(ui.failures[0], "COM3 (" + pty.SlavePath() + "): open: Device or resource busy");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(pty.Pending(), 0u);
}

TEST_F(SignLinkTest, PortNumbersBelowOneOpenCom1ForThisCallOnly)
{
    pty.MapAs(1);
    for (const int port : {0, -3}) {
        doc.Comm.ComPort = port;
        const std::string bytes = Pattern(31, static_cast<unsigned>(port + 10));
        Deliver(bytes, doc.Comm.ComPort);
        EXPECT_EQ(pty.Read(bytes.size()), bytes) << "port " << port;
        EXPECT_EQ(doc.Comm.ComPort, port);
    }
    EXPECT_TRUE(ui.failures.empty());
}

TEST_F(SignLinkTest, TwoDeliveriesInARowBothArrive)
{
    const std::string first = Pattern(39, 4);
    const std::string second = Pattern(31, 5);
    Deliver(first);
    Deliver(second);
    EXPECT_EQ(pty.Read(first.size() + second.size()), first + second);
    EXPECT_TRUE(ui.failures.empty());
}

TEST_F(SignLinkTest, UsbConnectionNeitherReadsNorCorrectsTheSerialSettings)
{
    doc.Comm.Connection = settings::ConnectionKindOf("usb - betabrite prism");
    doc.Comm.ComPort = 0;
    doc.Comm.BaudRate = 0;
    doc.Comm.ByteSize = 0;
    doc.Comm.Parity = settings::Parity::Unset;
    doc.Comm.StopBits = settings::StopBits::Unset;

    Deliver(Pattern(28, 6), 0);

    EXPECT_EQ(ui.pumpCalls, 1);
    EXPECT_EQ(doc.Comm.BaudRate, 0);
    EXPECT_EQ(doc.Comm.ByteSize, 0);
    EXPECT_EQ(pty.Pending(), 0u);
}

} // namespace
