#include "engine/JobRunner.h"
#include "settings/TickerluxDoc.h"
#include "tests/support/SignSimProcess.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPty.h"
#include "tools/pageserver/PageServer.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

using namespace tickerlux;
using namespace tickerlux::engine;
using namespace tickerlux::pageserver;
using namespace tickerlux::test;

namespace {

constexpr int kCom = 4;

// A job over the classic line to COM4, and the stages it reported, kept from the worker.
struct JobRig {
    JobRig()
    {
        request.comm.ChooseKind(settings::ConnectionKind::ClassicSerial);
        request.comm.ComPort = kCom;
    }

    ProgressCallback Recorder(std::function<void(const JobProgress&)> also = {})
    {
        return [this, also](const JobProgress& progress) {
            {
                const std::lock_guard lock(mutex);
                seen.push_back(progress);
            }
            if (also)
                also(progress);
        };
    }
    bool Saw(JobStage stage)
    {
        const std::lock_guard lock(mutex);
        for (const JobProgress& p : seen)
            if (p.stage == stage)
                return true;
        return false;
    }

    CScopedConfigHome home;
    JobRequest request;
    CJobRunner runner;
    std::mutex mutex;
    std::vector<JobProgress> seen;
};

TEST(JobRunnerTest, AStopDuringTheDownloadAbandonsItAndSendsNothing)
{
    JobRig rig;
    CTestPty pty;
    pty.MapAs(kCom);
    // A page that comes a few bytes at a time: the stop is asked when the first bytes arrive.
    CPageServer server;
    server.Serve("/news", CPageServer::Trickle(std::string(100000, 'x'), 8,
                                               std::chrono::milliseconds(5)));
    rig.request.feed.WebServer = server.HostPort();
    rig.request.feed.WebPath = "/news";

    ASSERT_TRUE(rig.runner.Start(rig.request, rig.Recorder([&](const JobProgress& p) {
        if (p.stage == JobStage::Downloading && p.done > 0)
            rig.runner.RequestStop();
    })));
    EXPECT_FALSE(rig.runner.Start(rig.request));  // one job at a time
    const std::optional<JobOutcome> outcome = rig.runner.Wait();

    ASSERT_TRUE(outcome);
    EXPECT_TRUE(outcome->stopped);
    ASSERT_NE(outcome->steps.FailureOf(Step::Fetch), nullptr);
    EXPECT_EQ(outcome->steps.FailureOf(Step::Fetch)->kind, base::FailureKind::Abandoned);
    EXPECT_EQ(outcome->steps.FailureOf(Step::Delivery), nullptr);
    EXPECT_TRUE(outcome->messages.empty());
    EXPECT_TRUE(rig.Saw(JobStage::Finishing));
    EXPECT_EQ(pty.Pending(), 0u);
    EXPECT_FALSE(rig.runner.Busy());
}

TEST(JobRunnerTest, AStopDuringTheDeliveryLetsTheWholeUpdateReachTheSign)
{
    JobRig rig;
    CSignSimProcess sign(kCom);
    CPageServer server;
    server.Serve("/news", CPageServer::Page("<h>Alpha</h><h>Beta</h>"));
    rig.request.feed.WebServer = server.HostPort();
    rig.request.feed.WebPath = "/news";
    rig.request.feed.TextBefore = "<h>";
    rig.request.feed.TextAfter = "</h>";
    rig.request.feed.LeadingComment = "News";
    rig.request.comm.BaudRate = 0;  // the delivery takes 9600 instead

    ASSERT_TRUE(rig.runner.Start(rig.request, rig.Recorder([&](const JobProgress& p) {
        if (p.stage == JobStage::Sending)
            rig.runner.RequestStop();
    })));
    const std::optional<JobOutcome> outcome = rig.runner.Wait();

    ASSERT_TRUE(outcome);
    EXPECT_FALSE(outcome->stopped);
    EXPECT_TRUE(outcome->steps.Succeeded());
    EXPECT_EQ(outcome->line, "News -- Alpha -- Beta");
    EXPECT_EQ(outcome->page, "<h>Alpha</h><h>Beta</h>");
    EXPECT_EQ(outcome->lineUsed, (link::LineUsed{9600, 7}));
    EXPECT_TRUE(sign.WaitFor([](const CSignSimProcess::Event& e) {
        return e["event"] == "display" && e["text"] == "News -- Alpha -- Beta";
    }));
    // Progress moved through each of the three transmissions to its end.
    std::vector<int> whole;
    for (const JobProgress& p : rig.seen)
        if (p.stage == JobStage::Sending && p.done == p.total && p.total > 0)
            whole.push_back(p.transmission);
    EXPECT_EQ(whole, (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(rig.Saw(JobStage::Finishing));

    settings::CTickerluxDoc doc;
    ApplyOutcome(*outcome, doc);
    EXPECT_EQ(doc.SourceText, outcome->page);
    EXPECT_EQ(doc.Comm.BaudRate, 9600);
}

TEST(JobRunnerTest, AbandonCutsTheDeliveryAtOnce)
{
    JobRig rig;
    // Nobody reads this port: a long line waits on the line until cut.
    CTestPty pty;
    pty.MapAs(kCom);
    rig.request.command = JobCommand::SendLine;
    rig.request.line = std::string(30000, '\xE9');  // two bytes each: 60,033 in all

    ASSERT_TRUE(rig.runner.Start(rig.request, rig.Recorder([&](const JobProgress& p) {
        if (p.stage == JobStage::Sending && p.transmission == 2 && p.done > 0)
            rig.runner.Abandon();
    })));
    const std::optional<JobOutcome> outcome = rig.runner.Wait();

    ASSERT_TRUE(outcome);
    EXPECT_TRUE(outcome->stopped);
    const base::Failure* cut = outcome->steps.FailureOf(Step::Delivery);
    ASSERT_NE(cut, nullptr);
    EXPECT_EQ(cut->kind, base::FailureKind::Abandoned);
    EXPECT_EQ(outcome->steps.Failures().size(), 2u);  // the text cut, the run sequence not sent
}

} // namespace
