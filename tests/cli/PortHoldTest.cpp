// send holds the sign's port for its three transmissions: senders at once take turns, and one
// that cannot have the port in time says so and fails.
#include "link/SerialPort.h"
#include "tests/support/RunProgram.h"
#include "tests/support/SignSimProcess.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPty.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <thread>
#include <vector>

using namespace tickerlux;
using namespace tickerlux::test;

namespace {

constexpr int kCom = 5;

std::string Cli()
{
    return BuildDir() + "/cli/tickerlux-cli";
}

TEST(PortHoldTest, SendersAtOnceNeverInterleaveAndEachSuccessIsShown)
{
    constexpr int kSenders = 8;
    CScopedConfigHome home;
    CSignSimProcess sign(kCom);
    ASSERT_EQ(RunProgram({Cli(), "config", "Connection=serial port - betabrite classic",
                          "ComPort=" + std::to_string(kCom)}).exitCode, 0);

    std::vector<ProgramResult> results(kSenders);
    std::vector<std::thread> senders;
    for (int i = 0; i < kSenders; ++i)
        senders.emplace_back([&results, i] {
            results[i] = RunProgram({Cli(), "send", "sender " + std::to_string(i)});
        });
    for (std::thread& sender : senders)
        sender.join();

    std::set<std::string> expected;
    for (int i = 0; i < kSenders; ++i) {
        EXPECT_EQ(results[i].exitCode, 0) << results[i].err;
        expected.insert("sender " + std::to_string(i));
    }
    std::vector<std::string> kinds;
    std::set<std::string> shown;
    while (kinds.size() < 3 * kSenders || shown.size() < expected.size()) {
        const auto event = sign.Next();
        ASSERT_TRUE(event) << "only " << kinds.size() << " transmissions";
        // A memory configuration empties the sign before each sender's text.
        if ((*event)["event"] == "display" && !(*event)["text"].get<std::string>().empty())
            shown.insert((*event)["text"].get<std::string>());
        if ((*event)["event"] != "transmission")
            continue;
        kinds.push_back((*event)["kind"].get<std::string>());
        EXPECT_TRUE((*event)["errors"].empty()) << event->dump();
    }
    for (std::size_t i = 0; i < kinds.size(); ++i)
        EXPECT_EQ(kinds[i], (std::vector<std::string>{"memory-config", "write-text",
                                                      "run-sequence"})[i % 3])
            << "transmission " << i;
    EXPECT_EQ(shown, expected);
}

TEST(PortHoldTest, ASenderWaitsForAHeldPortAtMostItsLimitThenFails)
{
    CScopedConfigHome home;
    CTestPty pty;
    pty.MapAs(kCom);
    link::CSerialPort holder;
    holder.Open(pty.SlavePath(), {9600, 7, link::SerialParity::Even, link::SerialStopBits::One});

    const ProgramResult run =
        RunProgram({Cli(), "send", "hi", "--connection", "serial port - betabrite classic",
                    "--com", std::to_string(kCom), "--wait", "0"});

    const std::string port = "COM" + std::to_string(kCom) + " (" + pty.SlavePath() + ")";
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "waiting for " + port + ", which another program is using\u2026\n" +
                           port + ": open: Device or resource busy\n");
    EXPECT_EQ(pty.Pending(), 0u);
}

} // namespace
