// tickerlux-cli config, send and clear, run as programs against a per-user store of the test's
// own and a pseudo-terminal standing in for the sign's serial port.
#include "settings/PortMap.h"
#include "sign/SignDecoder.h"
#include "tests/support/NonRegularFiles.h"
#include "tests/support/RunProgram.h"
#include "tests/support/SignSimProcess.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPty.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using namespace tickerlux;
using namespace tickerlux::settings;
using namespace tickerlux::sign;
using namespace tickerlux::test;

namespace {

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
    const std::string comm = "Connection=serial port - custom settings\nComPort=1\n"
                             "BaudRate=19200\nByteSize=8\nParity=none\nStopBits=2\n";
    EXPECT_EQ(shown.out, comm + "HeadlineCleanup=1\n");
    EXPECT_EQ(shown.err, "");
    // The switch alone changes nothing else.
    ASSERT_EQ(RunCli({"config", "HeadlineCleanup=0"}).exitCode, 0);
    EXPECT_EQ(RunCli({"config"}).out, comm + "HeadlineCleanup=0\n");
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
                                      "BaudRate=9600\nByteSize=7\nParity=even\nStopBits=1\n"
                                      "HeadlineCleanup=1\n");
    ASSERT_EQ(RunCli({"config", "Connection=usb - betabrite prism"}).exitCode, 0);
    EXPECT_EQ(RunCli({"config"}).out, "Connection=usb - betabrite prism\nComPort=1\nBaudRate=0\n"
                                      "ByteSize=0\nParity=\nStopBits=0\nHeadlineCleanup=1\n");
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
                    UsageCase{"HeadlineCleanupNeitherZeroNorOne",
                              {"config", "ComPort=3", "HeadlineCleanup=off"}},
                    UsageCase{"SendWithoutText", {"send"}},
                    UsageCase{"SendWithUnknownColour", {"send", "a", "--color", "plaid"}},
                    UsageCase{"ClearWithArgument", {"clear", "now"}},
                    UsageCase{"ShowWithTwoFiles", {"show", "a.tlx", "b.tlx"}},
                    UsageCase{"LineWithoutFile", {"line"}},
                    UsageCase{"UpdateWithAnOption", {"update", "--now"}},
                    UsageCase{"SendToPortZero", {"send", "a", "--com", "0"}},
                    UsageCase{"ClearOverAnUnknownKind", {"clear", "--connection=serial"}},
                    UsageCase{"WatchWithoutAPortNumber", {"watch", "a.tlx", "--com"}}),
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

struct UnreachableCase {
    const char* name;
    std::string entry;  // under the test's folder
    const char* reason;
};

void PrintTo(const UnreachableCase& c, std::ostream* os)
{
    *os << c.name;
}

class UnreachablePortTest : public testing::TestWithParam<UnreachableCase> {};

// The port map's entry is used as it is: a path too long for the system fails with its reason
// rather than COM9 falling back to another device.
TEST_P(UnreachablePortTest, FailsWithTheSystemsReason)
{
    CScopedConfigHome home;
    const std::string entry = home.Path() + GetParam().entry;
    SetStoredPortEntry(9, entry);
    ASSERT_EQ(
        RunCli({"config", "Connection=serial port - betabrite classic", "ComPort=9"}).exitCode, 0);

    const ProgramResult result = RunCli({"send", "Hello"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("COM9 (" + entry + "): open: " + GetParam().reason),
              std::string::npos)
        << result.err.substr(0, 300);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, UnreachablePortTest,
    testing::Values(UnreachableCase{"Missing", "/no-such-tty", "No such file or directory"},
                    // UTF-8 paths are printed as they are, never taken for Windows-1252.
                    UnreachableCase{"NonAscii", "/Gerät-ü/tty", "No such file or directory"},
                    UnreachableCase{"LongerThanAPath", "/" + std::string(4100, 'p'),
                                    "File name too long"}),
    [](const auto& row) { return std::string(row.param.name); });

// --com and --connection choose the sign for one run. Of two virtual signs only the one named
// gets the text; the other one's next text is the one sent to it afterwards. The store (which
// holds both signs' port-map entries) is left byte for byte as it was.
struct PerRunCase {
    const char* name;
    bool stored;                   // a connection to the first sign is stored beforehand
    std::vector<std::string> toSecond;  // the options that reach the second sign
    std::vector<std::string> toFirst;   // ... and then the first one
};

void PrintTo(const PerRunCase& c, std::ostream* os)
{
    *os << c.name;
}

class PerRunSignTest : public testing::TestWithParam<PerRunCase> {};

bool Shows(const CSignSimProcess::Event& event, const std::string& text)
{
    return event.value("event", "") == "display" && event.value("text", "") == text;
}

TEST_P(PerRunSignTest, ReachesTheNamedSignAndStoresNothing)
{
    CScopedConfigHome home;
    CSignSimProcess first(21), second(22);
    if (GetParam().stored) {
        ASSERT_EQ(
            RunCli({"config", "Connection=serial port - betabrite classic", "ComPort=21"}).exitCode,
            0);
    }
    const std::string storeBefore = ReadFileBytes(home.StoreFile());

    std::vector<std::string> args = {"send", "For the second sign"};
    args.insert(args.end(), GetParam().toSecond.begin(), GetParam().toSecond.end());
    const ProgramResult toSecond = RunCli(args);
    ASSERT_EQ(toSecond.exitCode, 0) << toSecond.err;
    args = {"send", "For the first sign"};
    args.insert(args.end(), GetParam().toFirst.begin(), GetParam().toFirst.end());
    const ProgramResult toFirst = RunCli(args);
    ASSERT_EQ(toFirst.exitCode, 0) << toFirst.err;

    const auto secondShows = second.WaitForEvent("display");
    ASSERT_TRUE(secondShows);
    EXPECT_TRUE(Shows(*secondShows, "For the second sign")) << secondShows->dump();
    const auto firstShows = first.WaitForEvent("display");
    ASSERT_TRUE(firstShows);
    EXPECT_TRUE(Shows(*firstShows, "For the first sign")) << firstShows->dump();
    EXPECT_EQ(ReadFileBytes(home.StoreFile()), storeBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Options, PerRunSignTest,
    testing::Values(PerRunCase{"PortOverTheStoredConnection", true, {"--com", "22"}, {}},
                    PerRunCase{"KindAndPortWithNothingStored",
                               false,
                               {"--connection", "serial port - betabrite classic", "--com=22"},
                               {"--com", "21", "--connection=serial port - betabrite classic"}}),
    [](const testing::TestParamInfo<PerRunCase>& row) { return std::string(row.param.name); });

class UnreadableStoreTest : public testing::TestWithParam<NonRegularFile> {};

// A store that is there but cannot be read is neither "nothing stored" nor replaced, and no
// command waits on it.
TEST_P(UnreadableStoreTest, EveryCommandSaysSoExitsOneAndLeavesIt)
{
    CScopedConfigHome home;
    std::filesystem::create_directories(home.Path() + "/tickerlux");
    if (!MakeNonRegularFile(GetParam(), home.StoreFile()))
        GTEST_SKIP() << "this process may not make device nodes";
    const std::string before = DescribeFile(home.StoreFile());
    const std::vector<std::vector<std::string>> commands = {
        {"config"}, {"config", "ComPort=3"}, {"send", "Hello"}};
    for (const auto& args : commands) {
        const ProgramResult result = RunCli(args);
        EXPECT_EQ(result.exitCode, 1) << args.size();
        EXPECT_NE(result.err.find(": cannot read " + home.StoreFile() + ": "), std::string::npos)
            << result.err;
        EXPECT_EQ(result.out, "");
    }
    EXPECT_EQ(DescribeFile(home.StoreFile()), before);
}

// A store folder with a non-ASCII name is printed as it is.
TEST(UnreadableStoreTest, ANonAsciiFolderIsPrintedIntact)
{
    CScopedConfigHome home;
    const std::string folder = home.Path() + "/Grüße";
    const std::string store = folder + "/tickerlux/user.reg";
    std::filesystem::create_directories(store);
    const ProgramResult result = RunProgram({BuildDir() + "/cli/tickerlux-cli", "config"},
                                            {{"XDG_CONFIG_HOME", folder}});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("cannot read " + store + ": Is a directory"), std::string::npos)
        << result.err;
}

INSTANTIATE_TEST_SUITE_P(Kinds, UnreadableStoreTest,
                         testing::Values(NonRegularFile::Fifo, NonRegularFile::DeviceNode,
                                         NonRegularFile::Directory, NonRegularFile::LinkLoop),
                         [](const testing::TestParamInfo<NonRegularFile>& row) {
                             return std::string(NonRegularFileName(row.param));
                         });

class UnusableLockTest : public testing::TestWithParam<NonRegularFile> {};

// A store lock that is no regular file is neither followed, waited on nor replaced.
TEST_P(UnusableLockTest, ConfigSaysSoAndLeavesIt)
{
    CScopedConfigHome home;
    std::filesystem::create_directories(home.Path() + "/tickerlux");
    const std::string lock = home.StoreFile() + ".lock";
    if (!MakeNonRegularFile(GetParam(), lock))
        GTEST_SKIP() << "this process may not make device nodes";
    const std::string before = DescribeFile(lock);
    const ProgramResult result = RunCli({"config", "ComPort=3"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "tickerlux-cli config: cannot write " + home.StoreFile() + ": its lock " +
                              lock + " is not a regular file\n");
    EXPECT_EQ(DescribeFile(lock), before);
}

INSTANTIATE_TEST_SUITE_P(Kinds, UnusableLockTest,
                         testing::Values(NonRegularFile::Fifo, NonRegularFile::LinkToDeviceNode,
                                         NonRegularFile::LinkLoop),
                         [](const testing::TestParamInfo<NonRegularFile>& row) {
                             return std::string(NonRegularFileName(row.param));
                         });

// Writers that run at once each store a whole set, and readers that run meanwhile each see a
// whole set: never the port of one writer with the speed or the cleanup switch of another.
TEST(ConfigCommandTest, ConcurrentWritersAndReadersSeeOnlyWholeSets)
{
    constexpr int kWriters = 20;
    constexpr int kReaders = 3;
    const char* const kParities[] = {"none", "even", "odd"};
    // Writer n's set, as `config` prints it; its port tells whose it is.
    const auto setOf = [&](int n) {
        return "Connection=serial port - custom settings\nComPort=" + std::to_string(n) +
               "\nBaudRate=" + std::to_string(300 * n) + "\nByteSize=" + std::to_string(5 + n % 4) +
               "\nParity=" + kParities[n % 3] + "\nStopBits=" + std::to_string(1 + n % 2) +
               "\nHeadlineCleanup=" + std::to_string(n / 2 % 2) + "\n";
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
                       "StopBits=" + std::to_string(1 + n % 2),
                       "HeadlineCleanup=" + std::to_string(n / 2 % 2)});
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

// Writers that each change one value at once keep every change: each reads the stored set and
// writes it back under one lock, so none writes back a value another has just replaced.
TEST(ConfigCommandTest, ConcurrentWritersOfSingleValuesLoseNoChange)
{
    const std::vector<std::string> changes = {"ComPort=7", "BaudRate=4800", "ByteSize=7",
                                              "Parity=even", "StopBits=2"};
    CScopedConfigHome home;
    for (int round = 0; round < 5; ++round) {
        ASSERT_EQ(RunCli({"config", "Connection=serial port - custom settings", "ComPort=1",
                          "BaudRate=300", "ByteSize=8", "Parity=none", "StopBits=1"})
                      .exitCode,
                  0);
        std::vector<std::thread> writers;
        for (const std::string& change : changes)
            writers.emplace_back([&change] { RunCli({"config", change}); });
        for (std::thread& writer : writers)
            writer.join();
        EXPECT_EQ(RunCli({"config"}).out,
                  "Connection=serial port - custom settings\nComPort=7\nBaudRate=4800\n"
                  "ByteSize=7\nParity=even\nStopBits=2\nHeadlineCleanup=1\n")
            << "round " << round;
    }
}

} // namespace
