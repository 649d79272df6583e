#include "settings/PortMap.h"
#include "tests/support/ClosedPort.h"
#include "tests/support/EngineOnPty.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tickerlux;
using namespace tickerlux::base;
using namespace tickerlux::settings;
using namespace tickerlux::headlines;
using namespace tickerlux::link;
using namespace tickerlux::engine;
using namespace tickerlux::test;

namespace {

std::vector<Step> Steps(const CommandOutcome& outcome)
{
    std::vector<Step> steps;
    for (const StepFailure& failure : outcome.Failures())
        steps.push_back(failure.step);
    return steps;
}

// What a front end reads after a command: each failed step with its kind and the system's words.
TEST(OutcomeTest, UpdateWithNoServerAndNoPortNamesEachFailedStep)
{
    CEngineOnPty<> rig(3);
    const std::string missing = rig.home.Path() + "/no-such-tty";
    SetStoredPortEntry(3, missing);
    rig.engine.SetPortMap(LoadUserSettings().settings.Ports);
    rig.doc.WebServer = "127.0.0.1:" + std::to_string(ClosedPort());
    rig.doc.WebPath = "/news";

    const CommandOutcome outcome = rig.engine.OnUpdateSignNow();

    EXPECT_TRUE(outcome.Ran());
    EXPECT_FALSE(outcome.Succeeded());
    EXPECT_EQ(Steps(outcome),
              (std::vector<Step>{Step::Fetch, Step::Delivery, Step::Delivery, Step::Delivery}));
    const Failure* fetch = outcome.FailureOf(Step::Fetch);
    ASSERT_NE(fetch, nullptr);
    EXPECT_EQ(fetch->kind, FailureKind::Refused);
    EXPECT_FALSE(fetch->systemText.empty());
    const Failure* delivery = outcome.FailureOf(Step::Delivery);
    ASSERT_NE(delivery, nullptr);
    EXPECT_EQ(delivery->kind, FailureKind::PortMissing);
    EXPECT_EQ(delivery->Text(), "COM3 (" + missing + "): open: No such file or directory");
    // The front end heard the same, each failure once.
    ASSERT_EQ(rig.ui.downloadFailures.size(), 1u);
    EXPECT_EQ(rig.ui.downloadFailures[0].kind, FailureKind::Refused);
    EXPECT_EQ(rig.ui.failures, std::vector<std::string>{delivery->Text()});
}

TEST(OutcomeTest, ADeliveredClearSucceeds)
{
    CEngineOnPty<> rig(3);
    rig.doc.Comm.ChooseKind(ConnectionKind::ClassicSerial);

    const CommandOutcome outcome = rig.engine.OnClearSign();

    EXPECT_TRUE(outcome.Succeeded());
    EXPECT_TRUE(outcome.Failures().empty());
    EXPECT_EQ(rig.pty.Read(28).size(), 28u);
}

} // namespace
