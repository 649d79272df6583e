// tickerlux-cli config, send and clear, run as programs against a per-user store of the test's
// own and a pseudo-terminal standing in for the sign's serial port.
#include "settings/PortMap.h"
#include "sign/SignDecoder.h"
#include "tests/support/RunProgram.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPty.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string Cli()
{
    return BuildDir() + "/cli/tickerlux-cli";
}

ProgramResult RunCli(std::vector<std::string> args)
{
    args.insert(args.begin(), Cli());
    return RunProgram(args);
}

std::vector<sign::DecodedTransmission> Decode(const std::string& bytes)
{
    sign::CSignDecoder decoder;
    return decoder.Feed(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

TEST(ConfigCommandTest, StoresAndPrintsTheSettings)
{
    CScopedConfigHome home;
    const ProgramResult stored =
        RunCli({"config", "Connection=serial port - custom settings", "ComPort=0", "BaudRate=19200",
                "ByteSize=8", "Parity=none", "StopBits=2"});
    ASSERT_EQ(stored.exitCode, 0) << stored.err;
    const ProgramResult shown = RunCli({"config"});
    EXPECT_EQ(shown.exitCode, 0);
    // The port is raised to 1 as the settings dialog's Save does.
    EXPECT_EQ(shown.out, "Connection=serial port - custom settings\nComPort=1\nBaudRate=19200\n"
                         "ByteSize=8\nParity=none\nStopBits=2\n");
    EXPECT_EQ(shown.err, "");
}

TEST(ConfigCommandTest, ConnectionKindsSetTheirFixedValues)
{
    CScopedConfigHome home;
    ASSERT_EQ(RunCli({"config", "Connection=serial port - custom settings", "BaudRate=300",
                      "Parity=odd", "ComPort=4"})
                  .exitCode,
              0);
    ASSERT_EQ(RunCli({"config", "Connection=serial port - betabrite classic"}).exitCode, 0);
    EXPECT_EQ(RunCli({"config"}).out, "Connection=serial port - betabrite classic\nComPort=4\n"
                                      "BaudRate=9600\nByteSize=7\nParity=even\nStopBits=1\n");
    ASSERT_EQ(RunCli({"config", "Connection=usb - betabrite prism"}).exitCode, 0);
    EXPECT_EQ(RunCli({"config"}).out, "Connection=usb - betabrite prism\nComPort=1\nBaudRate=0\n"
                                      "ByteSize=0\nParity=\nStopBits=0\n");
}

struct UsageCase {
    const char* name;
    std::vector<std::string> args;
};

void PrintTo(const UsageCase& c, std::ostream* os)
{
    *os << c.name;
}

class UsageErrorTest : public testing::TestWithParam<UsageCase> {};

TEST_P(UsageErrorTest, StoresNothingAndExitsTwo)
{
    CScopedConfigHome home;
    const ProgramResult result = RunCli(GetParam().args);
    EXPECT_EQ(result.exitCode, 2);
    // What is wrong, for the command named, then how it is called.
    const std::string command = GetParam().args[0];
    EXPECT_EQ(result.err.rfind("tickerlux-cli " + command + ": ", 0), 0u) << result.err;
    EXPECT_NE(result.err.find("\nUsage: tickerlux-cli " + command), std::string::npos)
        << result.err;
    EXPECT_EQ(RunCli({"config"}).out.find("Connection=\n"), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, UsageErrorTest,
    testing::Values(UsageCase{"UnknownName", {"config", "ComPort=3", "Speed=9600"}},
                    UsageCase{
                        "NotANumber",
                        {"config", "Connection=serial port - custom settings", "BaudRate=fast"}},
                    UsageCase{"UnknownConnectionKind", {"config", "Connection=serial"}},
                    UsageCase{"UnknownParity",
                              {"config", "Connection=serial port - custom settings", "Parity=no"}},
                    UsageCase{"SendWithoutText", {"send"}},
                    UsageCase{"SendWithUnknownColour", {"send", "a", "--color", "plaid"}},
                    UsageCase{"ClearWithArgument", {"clear", "now"}},
                    UsageCase{"ShowWithTwoFiles", {"show", "a.tlx", "b.tlx"}},
                    UsageCase{"LineWithoutFile", {"line"}},
                    UsageCase{"UpdateWithAnOption", {"update", "--now"}}),
    [](const testing::TestParamInfo<UsageCase>& row) { return std::string(row.param.name); });

TEST(SendCommandTest, WithoutAStoredConnectionSaysHowToStoreOne)
{
    CScopedConfigHome home;
    const ProgramResult result = RunCli({"send", "Hello"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("tickerlux-cli config Connection="), std::string::npos) << result.err;
}

TEST(SendCommandTest, DeliversConfigurationTextAndRunSequence)
{
    CScopedConfigHome home;
    CTestPty pty;
    pty.MapAs(6);
    ASSERT_EQ(
        RunCli({"config", "Connection=serial port - betabrite classic", "ComPort=6"}).exitCode, 0);

    const ProgramResult result = RunCli({"send", "Hello Café", "--color", "2"});
    ASSERT_EQ(result.exitCode, 0) << result.err;

    const auto sent = Decode(pty.Read(1 << 20));
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0].kind, sign::TransmissionKind::MemoryConfig);
    EXPECT_EQ(sent[1].kind, sign::TransmissionKind::WriteText);
    EXPECT_EQ(sent[2].kind, sign::TransmissionKind::RunSequence);
    ASSERT_TRUE(sent[1].text);
    EXPECT_EQ(sent[1].text->text, "Hello Caf\xE9");
    EXPECT_EQ(pty.Speed(), 9600u);
}

TEST(SendCommandTest, ATextAfterDoubleDashIsSentEvenWhenItLooksLikeAnOption)
{
    CScopedConfigHome home;
    CTestPty pty;
    pty.MapAs(5);
    ASSERT_EQ(
        RunCli({"config", "Connection=serial port - betabrite classic", "ComPort=5"}).exitCode, 0);

    const ProgramResult result = RunCli({"send", "--", "--help"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "");
    const auto sent = Decode(pty.Read(1 << 20));
    ASSERT_EQ(sent.size(), 3u);
    ASSERT_TRUE(sent[1].text);
    EXPECT_EQ(sent[1].text->text, "--help");
}

TEST(ClearCommandTest, DeliversTheClearTransmission)
{
    CScopedConfigHome home;
    CTestPty pty;
    pty.MapAs(2);
    ASSERT_EQ(
        RunCli({"config", "Connection=serial port - betabrite classic", "ComPort=2"}).exitCode, 0);

    const ProgramResult result = RunCli({"clear"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const auto sent = Decode(pty.Read(1 << 20));
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].kind, sign::TransmissionKind::Clear);
    EXPECT_EQ(sent[0].bytes.size(), 28u);
}

TEST(SendCommandTest, AnUnreachablePortFailsWithTheSystemsReason)
{
    CScopedConfigHome home;
    const std::string missing = home.Path() + "/no-such-tty";
    portmap::SetEntry(9, missing);
    ASSERT_EQ(
        RunCli({"config", "Connection=serial port - betabrite classic", "ComPort=9"}).exitCode, 0);

    const ProgramResult result = RunCli({"send", "Hello"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("COM9 (" + missing + "): open: No such file or directory"),
              std::string::npos)
        << result.err;
}

// Writers that run at once each store a whole set, and readers that run meanwhile each see a
// whole set: never the port of one writer with the speed of another.
TEST(ConfigCommandTest, ConcurrentWritersAndReadersSeeOnlyWholeSets)
{
    constexpr int kWriters = 20;
    constexpr int kReaders = 3;
    const char* const kParities[] = {"none", "even", "odd"};
    // Writer n's set, as `config` prints it; its port tells whose it is.
    const auto setOf = [&](int n) {
        return "Connection=serial port - custom settings\nComPort=" + std::to_string(n) +
               "\nBaudRate=" + std::to_string(300 * n) + "\nByteSize=" + std::to_string(5 + n % 4) +
               "\nParity=" + kParities[n % 3] + "\nStopBits=" + std::to_string(1 + n % 2) + "\n";
    };
    const auto isWholeSet = [&](const std::string& shown) {
        const std::size_t port = shown.find("ComPort=");
        return port != std::string::npos &&
               shown == setOf(std::atoi(shown.c_str() + port + std::strlen("ComPort=")));
    };
    const auto write = [&](int n) {
        return RunCli({"config", "Connection=serial port - custom settings",
                       "ComPort=" + std::to_string(n), "BaudRate=" + std::to_string(300 * n),
                       "ByteSize=" + std::to_string(5 + n % 4), std::string("Parity=") + kParities[n % 3],
                       "StopBits=" + std::to_string(1 + n % 2)});
    };

    CScopedConfigHome home;
    ASSERT_EQ(write(kWriters + 1).exitCode, 0);
    std::atomic<bool> writing{true};
    std::atomic<int> reads{0};
    std::vector<std::string> mixed;
    std::mutex mixedMutex;
    std::vector<std::thread> readers;
    for (int r = 0; r < kReaders; ++r) {
        readers.emplace_back([&] {
            while (writing) {
                const ProgramResult shown = RunCli({"config"});
                ++reads;
                if (shown.exitCode != 0 || !isWholeSet(shown.out)) {
                    const std::lock_guard lock(mixedMutex);
                    mixed.push_back(shown.out + shown.err);
                }
            }
        });
    }
    std::vector<std::thread> writers;
    std::vector<int> exitCodes(kWriters, -1);
    for (int n = 1; n <= kWriters; ++n)
        writers.emplace_back([&, n] { exitCodes[n - 1] = write(n).exitCode; });
    for (std::thread& writer : writers)
        writer.join();
    writing = false;
    for (std::thread& reader : readers)
        reader.join();

    EXPECT_EQ(exitCodes, std::vector<int>(kWriters, 0));
    EXPECT_TRUE(mixed.empty()) << mixed.size() << " of " << reads << " reads saw a mixed set, as\n"
                               << mixed.front();
    const ProgramResult last = RunCli({"config"});
    EXPECT_TRUE(isWholeSet(last.out)) << last.out;
}

} // namespace
