#include "settings/TickerluxDoc.h"
#include "tests/support/ClosedPort.h"
#include "tests/support/RunProgram.h"
#include "tests/support/ShownTexts.h"
#include "tests/support/TempDir.h"
#include "tools/pageserver/PageServer.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

using namespace tickerlux;
using namespace tickerlux::settings;
using namespace tickerlux::pageserver;
using namespace tickerlux::test;

namespace {

// A feed file that reads the headlines between <h> and </h> from /news on `webServer`.
std::string WriteFeed(const CTempDir& dir, const std::string& webServer)
{
    CTickerluxDoc doc;
    doc.WebServer = webServer;
    doc.WebPath = "/news";
    doc.TextBefore = "<h>";
    doc.TextAfter = "</h>";
    doc.LeadingComment = "News";
    const std::string path = dir.File("feed.tlx");
    if (const base::Failure saved = doc.OnSaveDocument(path); saved.Failed())
        throw std::runtime_error(saved.Text());
    return path;
}

struct LineCase {
    const char* name;
    // Sets up the server and the files; returns the arguments after "line".
    std::function<std::vector<std::string>(CPageServer&, const CTempDir&)> arrange;
    int exitCode;
    std::string out;
    std::string err;  // exact; ending in "*", what comes before the "*" starts it
};

void PrintTo(const LineCase& c, std::ostream* os)
{
    *os << c.name;
}

void StoreHeadlineCleanup(const std::string& value)
{
    const ProgramResult stored =
        RunProgram({BuildDir() + "/cli/tickerlux-cli", "config", "HeadlineCleanup=" + value});
    if (stored.exitCode != 0)
        throw std::runtime_error(stored.err);
}

class LineCommandTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineCommandTest, PrintsTheLineOrSaysWhyNot)
{
    const LineCase& c = GetParam();
    CScopedConfigHome home;  // HeadlineCleanup as the case stores it, else on
    CPageServer server;
    CTempDir dir;
    std::vector<std::string> argv = {BuildDir() + "/cli/tickerlux-cli", "line"};
    for (const std::string& arg : c.arrange(server, dir))
        argv.push_back(arg);

    const ProgramResult result = RunProgram(argv);

    EXPECT_EQ(result.exitCode, c.exitCode);
    EXPECT_EQ(result.out, c.out);
    if (c.err.ends_with('*')) {
        const std::string start = c.err.substr(0, c.err.size() - 1);
        EXPECT_EQ(result.err.substr(0, start.size()), start);
        EXPECT_GT(result.err.size(), start.size());
    } else {
        EXPECT_EQ(result.err, c.err);
    }
}

std::vector<std::string> Serving(CPageServer& server, const CTempDir& dir, std::string page,
                                 int status = 200)
{
    server.Serve("/news", CPageServer::Page(std::move(page), status));
    return {WriteFeed(dir, server.HostPort())};
}

INSTANTIATE_TEST_SUITE_P(
    Feeds, LineCommandTest,
    ::testing::Values(
        LineCase{"HeadlinesInUtf8",
                 [](CPageServer& s, const CTempDir& d) {
                     return Serving(s, d, "<h>Caf\xE9 opens</h> and <h>Second\r\nline</h>");
                 },
                 0, "News -- Caf\xC3\xA9 opens -- Second line\n", ""},
        LineCase{"ControlBytesAreEscaped",
                 [](CPageServer& s, const CTempDir& d) {
                     StoreHeadlineCleanup("0");  // the page's bytes as sent
                     return Serving(s, d, "<h>\x1B]0;retitled\x07\x1B[2J a\\b\tc</h>");
                 },
                 0, "News -- \\x1B]0;retitled\\x07\\x1B[2J a\\\\b\\tc\n", ""},
        LineCase{"ControlBytesNeverReachACleanLine",
                 [](CPageServer& s, const CTempDir& d) {
                     return Serving(s, d, "<h>\x1B]0;retitled\x07\x1B[2J a\\b\tc</h>");
                 },
                 0, "News -- ]0;retitled[2J a\\\\b c\n", ""},
        LineCase{"ErrorPageIsStillAPage",
                 [](CPageServer& s, const CTempDir& d) { return Serving(s, d, "gone", 404); },
                 0, "News\n", ""},
        LineCase{"OverlongPageIsCutWithANotice",
                 [](CPageServer& s, const CTempDir& d) {
                     return Serving(s, d, "<h>Top</h>" + std::string(300000, 'x'));
                 },
                 0, "News -- Top\n", shown::kOverrun + "\n"},
        // The message, then the cause in the system's words.
        LineCase{"HostNotFound",
                 [](CPageServer&, const CTempDir& d) {
                     return std::vector<std::string>{WriteFeed(d, "no-such-host.invalid")};
                 },
                 1, "", shown::kConnectionError + "\ncause: host not found (*"},
        LineCase{"ConnectionRefused",
                 [](CPageServer&, const CTempDir& d) {
                     return std::vector<std::string>{
                         WriteFeed(d, "127.0.0.1:" + std::to_string(ClosedPort()))};
                 },
                 1, "", shown::kConnectionError + "\ncause: connection refused (*"},
        LineCase{"MissingFeedFile",
                 [](CPageServer&, const CTempDir& d) {
                     return std::vector<std::string>{d.File("absent.tlx")};
                 },
                 2, "", "*"},
        LineCase{"FeedFileCutShort",
                 [](CPageServer& s, const CTempDir& d) {
                     const std::string path = WriteFeed(d, s.HostPort());
                     WriteFileBytes(path, ReadFileBytes(path).substr(0, 12));
                     return std::vector<std::string>{path};
                 },
                 2, "", "*"},
        LineCase{"NoFeedArgument",
                 [](CPageServer&, const CTempDir&) { return std::vector<std::string>{}; }, 2, "",
                 "*"}),
    [](const ::testing::TestParamInfo<LineCase>& row) { return row.param.name; });

} // namespace
