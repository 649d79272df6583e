// The whole road: tickerlux-cli stores a serial connection to COMn and sends a line; the virtual
// sign on COMn receives memory configuration, text and run sequence and shows the line.
#include "tests/support/RunProgram.h"
#include "tests/support/SignSimProcess.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

using namespace tickerlux;
using namespace tickerlux::test;

namespace {

using Event = CSignSimProcess::Event;

struct EndToEndCase {
    const char* name;
    std::vector<std::string> simArgs;
};

void PrintTo(const EndToEndCase& c, std::ostream* os)
{
    *os << c.name;
}

class EndToEndTest : public testing::TestWithParam<EndToEndCase> {};

TEST_P(EndToEndTest, SendShowsTheLineOnTheVirtualSign)
{
    CScopedConfigHome home;
    CSignSimProcess sim(3, GetParam().simArgs);
    const std::string cli = BuildDir() + "/cli/tickerlux-cli";

    const ProgramResult config =
        RunProgram({cli, "config", "Connection=serial port - betabrite classic", "ComPort=3"});
    ASSERT_EQ(config.exitCode, 0) << config.err;
    const ProgramResult send = RunProgram({cli, "send", "Hello Café"});
    ASSERT_EQ(send.exitCode, 0) << send.err;

    const char* const kinds[] = {"memory-config", "write-text", "run-sequence"};
    std::vector<Event> transmissions;
    for (const char* kind : kinds) {
        const std::optional<Event> event = sim.WaitForEvent("transmission");
        ASSERT_TRUE(event) << "no " << kind;
        EXPECT_EQ((*event)["kind"], kind);
        EXPECT_TRUE((*event)["errors"].empty()) << event->dump();
        // The classic sign's line: 9600 bits per second, one stop bit.
        EXPECT_EQ((*event)["line"]["baud"], 9600);
        EXPECT_EQ((*event)["line"]["stop_bits"], 1);
        transmissions.push_back(*event);
    }
    // The memory configuration sizes file A for the whole text transmission.
    EXPECT_EQ(transmissions[0]["files"][0]["size"], transmissions[1]["length"]);
    EXPECT_EQ(transmissions[1]["text"], "Hello Café");

    EXPECT_EQ(sim.Stop(), 0);
    std::vector<Event> displays;
    for (const Event& event : sim.Events())
        if (event["event"] == "display")
            displays.push_back(event);
    ASSERT_FALSE(displays.empty());
    EXPECT_EQ(displays.back()["text"], "Hello Café");
    EXPECT_EQ(displays.back()["color"], "Red");
    EXPECT_EQ(displays.back()["mode"], "rotate");
}

INSTANTIATE_TEST_SUITE_P(Cases, EndToEndTest,
                         testing::Values(EndToEndCase{"as_fast_as_written", {}},
                                         EndToEndCase{"at_line_speed", {"--line-speed"}}),
                         [](const auto& row) { return std::string(row.param.name); });

} // namespace
