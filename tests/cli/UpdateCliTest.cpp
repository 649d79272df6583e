// tickerlux-cli update and watch, run as programs against a page server on 127.0.0.1 and the
// virtual sign as COM3, in a per-user store of the test's own.
#include "tests/support/RunProgram.h"
#include "tests/support/SignReception.h"
#include "tests/support/TempDir.h"
#include "tests/support/WatchProcess.h"
#include "tools/pageserver/PageServer.h"

#include <gtest/gtest.h>

#include <csignal>
#include <ostream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace tickerlux;
using namespace tickerlux::pageserver;
using namespace tickerlux::test;

namespace {

constexpr int kComPort = 3;
const std::string kLine = "News -- Alpha -- Beta";
const std::vector<std::string> kUpdateKinds = {"memory-config", "write-text", "run-sequence"};

class UpdateCliTest : public testing::Test {
protected:
    void SetUp() override
    {
        server.Serve("/news", CPageServer::Page("<h>Alpha</h><h>Beta</h>"));
        const ProgramResult config = RunCli({"config", "Connection=serial port - betabrite classic",
                                             "ComPort=" + std::to_string(kComPort)});
        ASSERT_EQ(config.exitCode, 0) << config.err;
        SetFeed("WebServer=" + server.HostPort());
    }

    void SetFeed(const std::string& webServer)
    {
        const ProgramResult set = RunCli({"set", feedPath, webServer, "WebPath=/news",
                                          "TextBefore=<h>", "TextAfter=</h>", "LeadingComment=News",
                                          "UpdateMinutes=1"});
        ASSERT_EQ(set.exitCode, 0) << set.err;
    }

    CScopedConfigHome home;  // first: the sign enters its COM port into this store
    CTempDir dir;
    std::string feedPath = dir.File("feed.tlx");
    CPageServer server;
    CSignSimProcess sign{kComPort};
};

TEST_F(UpdateCliTest, UpdateShowsTheHeadlines)
{
    const ProgramResult result = RunCli({"update", feedPath});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");

    const SignReception received = ReceiveTransmissions(sign, 3);
    EXPECT_EQ(received.Kinds(), kUpdateKinds);
    EXPECT_EQ(received.shown, std::vector<std::string>{kLine});
}

// One update reads the per-user store once (its lock file aside), however many transmissions it
// makes: the port map it resolves COM3 with comes from that one reading.
TEST_F(UpdateCliTest, UpdateOpensTheStoreOnce)
{
    const std::string trace = dir.File("openat.trace");
    // The leak checker of a sanitized build cannot run under ptrace.
    const ProgramResult result =
        RunProgram({"/usr/bin/strace", "-f", "-qq", "-e", "trace=openat", "-o", trace, "-E",
                    "ASAN_OPTIONS=detect_leaks=0", BuildDir() + "/cli/tickerlux-cli", "update",
                    feedPath});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(ReceiveTransmissions(sign, 3).Kinds(), kUpdateKinds);
    const std::string calls = ReadFileBytes(trace);
    const std::string opened = "\"" + home.StoreFile() + "\"";
    int opens = 0;
    for (std::size_t at = calls.find(opened); at != std::string::npos;
         at = calls.find(opened, at + 1))
        ++opens;
    EXPECT_EQ(opens, 1) << calls;
}

TEST_F(UpdateCliTest, UpdateWithTheServerDownFailsButBlanksTheSign)
{
    {
        CPageServer gone;
        SetFeed("WebServer=" + gone.HostPort());
    }
    const ProgramResult result = RunCli({"update", feedPath});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err.rfind("Error connecting to the website.", 0), 0u) << result.err;

    const SignReception received = ReceiveTransmissions(sign, 3);
    ASSERT_EQ(received.Kinds(), kUpdateKinds);
    EXPECT_EQ(received.transmissions[1]["length"], 33);
}

TEST_F(UpdateCliTest, UpdateOfAnOverlongPageShowsTheNoticeAndSucceeds)
{
    server.Serve("/news", CPageServer::Page("<h>Alpha</h>" + std::string(250000, 'x')));
    const ProgramResult result = RunCli({"update", feedPath});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "File overran buffer -- not cached\n");

    const SignReception received = ReceiveTransmissions(sign, 3);
    EXPECT_EQ(received.Kinds(), kUpdateKinds);
    EXPECT_EQ(received.shown.back(), "News -- Alpha");
}

struct BadFeedCase {
    const char* name;
    std::string bytes;  // written over the feed file; empty: the file is removed
};

void PrintTo(const BadFeedCase& c, std::ostream* os)
{
    *os << c.name;
}

class UpdateCliBadFeedTest : public UpdateCliTest,
                             public testing::WithParamInterface<BadFeedCase> {};

TEST_P(UpdateCliBadFeedTest, ExitsTwoAndSendsNothing)
{
    if (GetParam().bytes.empty())
        unlink(feedPath.c_str());
    else
        WriteFileBytes(feedPath, GetParam().bytes);

    for (const char* command : {"update", "watch"}) {
        const ProgramResult result = RunCli({command, feedPath});
        EXPECT_EQ(result.exitCode, 2) << command;
        EXPECT_NE(result.err, "") << command;
    }
    // The first transmission the sign sees is the one of this marker.
    ASSERT_EQ(RunCli({"clear"}).exitCode, 0);
    EXPECT_EQ(ReceiveTransmissions(sign, 1).Kinds(), std::vector<std::string>{"clear"});
}

INSTANTIATE_TEST_SUITE_P(
    Feeds, UpdateCliBadFeedTest,
    testing::Values(BadFeedCase{"Missing", ""},
                    BadFeedCase{"NotASettingsFile", std::string("\x04" "1.00\xff\xff\xff\xff", 9)}),
    [](const testing::TestParamInfo<BadFeedCase>& row) { return std::string(row.param.name); });

TEST(UpdateCliNoConnectionTest, UpdateFailsWithAHint)
{
    CScopedConfigHome home;
    CTempDir dir;
    const std::string feedPath = dir.File("feed.tlx");
    ASSERT_EQ(RunCli({"set", feedPath, "WebServer=127.0.0.1:1"}).exitCode, 0);

    const ProgramResult result = RunCli({"update", feedPath});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("tickerlux-cli config"), std::string::npos) << result.err;
}

TEST(UpdateCliNoConnectionTest, AnUnreadableFeedIsAUsageErrorFirst)
{
    CScopedConfigHome home;
    CTempDir dir;
    const std::string feedPath = dir.File("feed.tlx");
    WriteFileBytes(feedPath, "not a settings file");

    for (const char* command : {"update", "watch"}) {
        const ProgramResult result = RunCli({command, feedPath});
        EXPECT_EQ(result.exitCode, 2) << command;
        EXPECT_EQ(result.err.find("tickerlux-cli config"), std::string::npos) << result.err;
    }
}

struct WatchSignalCase {
    const char* name;
    int signal;
};

void PrintTo(const WatchSignalCase& c, std::ostream* os)
{
    *os << c.name;
}

class WatchCliTest : public UpdateCliTest, public testing::WithParamInterface<WatchSignalCase> {};

// The first update comes at once; the next is a minute away, and a signal in the wait ends the
// watch at once with status 0.
TEST_P(WatchCliTest, UpdatesAtOnceAndEndsCleanlyOnSignal)
{
    CWatchProcess watch(feedPath, dir);
    ASSERT_TRUE(watch.Started());
    const SignReception received = ReceiveTransmissions(sign, 3);
    EXPECT_EQ(received.Kinds(), kUpdateKinds);
    EXPECT_EQ(received.shown, std::vector<std::string>{kLine});

    EXPECT_EQ(watch.StopWith(GetParam().signal), 0) << watch.Err();
    const std::string out = watch.Out();
    EXPECT_NE(out.find("an update every 1 minute"), std::string::npos) << out;
    EXPECT_NE(out.find(" sign updated\n"), std::string::npos) << out;
    EXPECT_NE(out.find(" watch stopped\n"), std::string::npos) << out;
    EXPECT_EQ(watch.Err(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Signals, WatchCliTest,
    testing::Values(WatchSignalCase{"Term", SIGTERM}, WatchSignalCase{"Int", SIGINT},
                    WatchSignalCase{"Hup", SIGHUP}),
    [](const testing::TestParamInfo<WatchSignalCase>& row) { return std::string(row.param.name); });

// A signal during a download that would only give up after 30 s abandons it at once; nothing is
// sent, not even the blank line of a failed download, and the watch ends with status 0.
TEST_F(UpdateCliTest, WatchAbandonsADownloadAtOnceOnSignal)
{
    server.Serve("/news", CPageServer::Hang());
    CWatchProcess watch(feedPath, dir);
    ASSERT_TRUE(watch.Started());
    ASSERT_TRUE(server.WaitForRequests("/news", 1));

    constexpr int kFarBelowTheStallLimitMs = 10000;
    EXPECT_EQ(watch.StopWith(SIGTERM, kFarBelowTheStallLimitMs), 0) << watch.Err();
    EXPECT_NE(watch.Out().find(" watch stopped\n"), std::string::npos) << watch.Out();
    EXPECT_EQ(watch.Err(), "");
    EXPECT_TRUE(server.WaitForConnections("/news", 1));
    ASSERT_EQ(sign.Stop(), 0);
    for (const CSignSimProcess::Event& event : sign.Events())
        EXPECT_NE(event["event"], "transmission") << event.dump();
}

// Standard output closed: the watch says so once on standard error and keeps the sign current,
// instead of dying silently of SIGPIPE.
TEST_F(UpdateCliTest, WatchWithAClosedOutputGoesOnAndSaysSo)
{
    CWatchProcess watch(feedPath, dir, true);
    ASSERT_TRUE(watch.Started());
    const SignReception received = ReceiveTransmissions(sign, 3);
    EXPECT_EQ(received.shown, std::vector<std::string>{kLine});

    EXPECT_EQ(watch.StopWith(SIGTERM), 0) << watch.Err();
    const std::string err = watch.Err();
    EXPECT_NE(err.find(" tickerlux-cli watch: cannot write the output: Broken pipe (the watch goes "
                       "on)\n"),
              std::string::npos)
        << err;
    EXPECT_EQ(err.find("cannot write", err.find("cannot write") + 1), std::string::npos) << err;
}

} // namespace
