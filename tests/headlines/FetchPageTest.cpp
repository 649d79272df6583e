#include "engine/TickerluxEngine.h"
#include "settings/TickerluxDoc.h"
#include "tests/support/RecordingUi.h"
#include "tests/support/ShownTexts.h"
#include "tools/pageserver/PageServer.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

using namespace tickerlux;
using namespace tickerlux::base;
using namespace tickerlux::settings;
using namespace tickerlux::headlines;
using namespace tickerlux::link;
using namespace tickerlux::engine;
using namespace tickerlux::pageserver;
using namespace tickerlux::test;

namespace {

using shown::kConnectionError;
using shown::kOverrun;
constexpr std::size_t kMaxPage = CTickerluxEngine::kMaxPageLength;

// A body of `size` bytes that shows where a cut falls: the byte at i is 'a' + i % 26.
std::string Body(std::size_t size)
{
    std::string body(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        body[i] = static_cast<char>('a' + i % 26);
    return body;
}

std::string Repeat(const std::string& unit, std::size_t count)
{
    std::string out;
    for (std::size_t i = 0; i < count; ++i)
        out += unit;
    return out;
}

class FetchPageTest : public ::testing::Test {
protected:
    FetchPageTest() { doc.WebServer = server.HostPort(); }

    bool Fetch(const std::string& path)
    {
        doc.WebPath = path;
        return !engine.FetchPage().Failed();
    }

    CPageServer server;
    CTickerluxDoc doc;
    CRecordingUi ui;
    CTickerluxEngine engine{doc, ui};
};

// Answers that make a page, whatever their status.
struct PageCase {
    const char* name;
    CPageServer::Response response;
    std::string expectedSource;
    std::vector<std::string> expectedMessages;
};

void PrintTo(const PageCase& c, std::ostream* os)
{
    *os << c.name;
}

class FetchPageAnswerTest : public FetchPageTest, public ::testing::WithParamInterface<PageCase> {};

TEST_P(FetchPageAnswerTest, BodyBecomesThePage)
{
    const PageCase& c = GetParam();
    server.Serve("/page", c.response);
    doc.SourceText = "old page";

    EXPECT_TRUE(Fetch("/page"));
    EXPECT_EQ(doc.SourceText, c.expectedSource);
    EXPECT_EQ(engine.PageText(), c.expectedSource);
    EXPECT_EQ(ui.messages, c.expectedMessages);
}

CPageServer::Response NoContent()
{
    CPageServer::Response response;
    response.status = 204;
    return response;
}

CPageServer::Response CloseDelimited(std::string body)
{
    CPageServer::Response response = CPageServer::Page(std::move(body));
    response.sendContentLength = false;
    return response;
}

INSTANTIATE_TEST_SUITE_P(
    Answers, FetchPageAnswerTest,
    ::testing::Values(
        PageCase{"NoContent", NoContent(), "", {}},
        PageCase{"SmallPage", CPageServer::Page("<h>Alpha</h>"), "<h>Alpha</h>", {}},
        PageCase{"FullBufferExactly", CPageServer::Page(Body(kMaxPage)), Body(kMaxPage), {}},
        PageCase{"OneByteTooMany", CPageServer::Page(Body(kMaxPage + 1)), Body(kMaxPage), {kOverrun}},
        PageCase{"NotFoundPage", CPageServer::Page("<p>no such page</p>", 404), "<p>no such page</p>", {}},
        PageCase{"ServerErrorPage", CPageServer::Page("oops", 500), "oops", {}},
        PageCase{"EndsWhenServerCloses", CloseDelimited("until close"), "until close", {}},
        // Sent compressed whether asked or not; the limit counts the decoded bytes.
        PageCase{"GzipPageIsDecoded",
                 CPageServer::Compressed("<h>Alpha</h>", CPageServer::Encoding::Gzip), "<h>Alpha</h>", {}},
        PageCase{"DeflatePageIsDecoded",
                 CPageServer::Compressed(Body(5000), CPageServer::Encoding::Deflate), Body(5000), {}},
        PageCase{"CompressedPageIsCutAfterDecoding",
                 CPageServer::Compressed(Body(4 * kMaxPage), CPageServer::Encoding::Gzip),
                 Body(kMaxPage), {kOverrun}},
        // The limit is on the bytes: spelled in Latin letters, a Chinese page grows past it.
        PageCase{"TextLongerThanTheLimitKeptWhole",
                 CPageServer::Page(Repeat("\xE5\x8C\x97\xE4\xBA\xAC", kMaxPage / 6), 200,
                                   "text/html; charset=utf-8"),
                 Repeat("bei jing ", kMaxPage / 6 - 1) + "bei jing", {}}),
    [](const ::testing::TestParamInfo<PageCase>& row) { return row.param.name; });

TEST_F(FetchPageTest, LongBodyIsCutAtTheBufferAndNotDownloadedToTheEnd)
{
    const std::size_t size = 32u << 20;  // larger than what the socket buffers of both ends hold
    server.Serve("/big", CPageServer::Page(Body(size)));

    EXPECT_TRUE(Fetch("/big"));
    EXPECT_EQ(doc.SourceText, Body(kMaxPage));
    EXPECT_EQ(ui.messages, std::vector<std::string>{kOverrun});

    ASSERT_TRUE(server.WaitForConnections("/big", 1));
    const CPageServer::PathStats stats = server.Stats("/big");
    EXPECT_EQ(stats.abortedByClient, 1);
    EXPECT_EQ(stats.completed, 0);
    EXPECT_LT(stats.bytesSent, size);
}

TEST_F(FetchPageTest, NulByteEndsTheTextButNotTheBufferOfBytesAsSent)
{
    server.Serve("/nul", CPageServer::Page(std::string("before\0after", 12)));
    engine.SetHeadlineCleanup(false);

    EXPECT_TRUE(Fetch("/nul"));
    EXPECT_EQ(doc.SourceText, "before");
    EXPECT_EQ(engine.Page().substr(7), "after");
    EXPECT_TRUE(ui.messages.empty());

    // Read as text, a NUL is none and hides nothing.
    engine.SetHeadlineCleanup(true);
    EXPECT_TRUE(Fetch("/nul"));
    EXPECT_EQ(doc.SourceText, "beforeafter");
}

// WebPath as typed, and the request target the server must see for it.
struct TargetCase {
    const char* name;
    std::string typed;
    std::string target;
};

void PrintTo(const TargetCase& c, std::ostream* os)
{
    *os << c.name;
}

class FetchPageTargetTest : public FetchPageTest, public ::testing::WithParamInterface<TargetCase> {};

TEST_P(FetchPageTargetTest, RequestCarriesThePathAndTheAgent)
{
    const TargetCase& c = GetParam();
    server.Serve(c.target, CPageServer::Page("found"));

    EXPECT_TRUE(Fetch(c.typed));
    EXPECT_EQ(doc.SourceText, "found");
    const std::string request = server.Stats(c.target).lastRequest;
    EXPECT_EQ(request.rfind("GET " + c.target + " HTTP/1.1\r\n", 0), 0u) << request;
    EXPECT_NE(request.find("\r\nUser-Agent: Newsglow\r\n"), std::string::npos) << request;
    const std::size_t encodings = request.find("\r\nAccept-Encoding: ");
    ASSERT_NE(encodings, std::string::npos) << request;
    EXPECT_NE(request.substr(encodings, request.find("\r\n", encodings + 2) - encodings).find("gzip"),
              std::string::npos) << request;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, FetchPageTargetTest,
    ::testing::Values(
        TargetCase{"DotSegmentsQueryAndEscapesKept", "/a/../news.html?x=1&y=%41",
                   "/a/../news.html?x=1&y=%41"},
        TargetCase{"UpperCaseEscapesKept", "/caf%C3%A9", "/caf%C3%A9"},
        TargetCase{"NoLeadingSlashGetsOne", "news.html", "/news.html"},
        TargetCase{"EmptyAsksForRoot", "", "/"},
        TargetCase{"SpaceEncoded", "/top stories", "/top%20stories"},
        TargetCase{"LineBreakCannotAddAHeader", "/x\r\nX-Injected: 1", "/x%0D%0AX-Injected:%201"},
        TargetCase{"HighBytesEncoded", "/caf\xE9", "/caf%E9"},
        TargetCase{"HashEncodedAndWhatFollowsKept", "/news#top?x=1", "/news%23top?x=1"}),
    [](const ::testing::TestParamInfo<TargetCase>& row) { return row.param.name; });

TEST_F(FetchPageTest, RedirectIsFollowed)
{
    CPageServer::Response redirect = CPageServer::RedirectTo(server.Url("/new"), 301);
    redirect.body = "<a href=\"/new\">the page has moved</a>";  // not part of the page
    server.Serve("/old", redirect);
    server.Serve("/new", CPageServer::Page("moved here"));

    EXPECT_TRUE(Fetch("/old"));
    EXPECT_EQ(doc.SourceText, "moved here");
    EXPECT_EQ(server.RequestCount("/new"), 1);
}

TEST_F(FetchPageTest, WebServerNamedWithoutPortUsesPort80)
{
    std::unique_ptr<CPageServer> port80;
    try {
        port80 = std::make_unique<CPageServer>(80);
    } catch (const std::exception& error) {
        GTEST_SKIP() << "cannot listen on 127.0.0.1:80 here: " << error.what();
    }
    port80->Serve("/p", CPageServer::Page("on port 80"));
    doc.WebServer = "127.0.0.1";

    EXPECT_TRUE(Fetch("/p"));
    EXPECT_EQ(doc.SourceText, "on port 80");
}

TEST_F(FetchPageTest, HostNameWithPortIsResolved)
{
    server.Serve("/p", CPageServer::Page("by name"));
    doc.WebServer = "localhost:" + std::to_string(server.Port());

    EXPECT_TRUE(Fetch("/p"));
    EXPECT_EQ(doc.SourceText, "by name");
}

// Failures: each sets up the server and the document, and must end in the one connection error.
struct FailureCase {
    const char* name;
    std::function<void(CPageServer&, CTickerluxDoc&)> arrange;
    FailureKind kind = FailureKind::None;  // checked where it is not the plain one
};

void PrintTo(const FailureCase& c, std::ostream* os)
{
    *os << c.name;
}

class FetchPageFailureTest : public FetchPageTest,
                             public ::testing::WithParamInterface<FailureCase> {};

TEST_P(FetchPageFailureTest, ShowsTheConnectionErrorAndKeepsSourceText)
{
    doc.WebPath = "/page";
    GetParam().arrange(server, doc);
    doc.SourceText = "untouched";

    const Failure failure = engine.FetchPage();
    EXPECT_TRUE(failure.Failed());
    if (GetParam().kind != FailureKind::None) {
        EXPECT_EQ(failure.kind, GetParam().kind) << failure.systemText;
    }
    EXPECT_EQ(ui.messages, std::vector<std::string>{kConnectionError});
    EXPECT_EQ(doc.SourceText, "untouched");
}

std::string ClosedPort()
{
    CPageServer gone;  // nothing listens on its port once it is destroyed
    return gone.HostPort();
}

INSTANTIATE_TEST_SUITE_P(
    Failures, FetchPageFailureTest,
    ::testing::Values(
        FailureCase{"ConnectionCutMidBody",
                    [](CPageServer& s, CTickerluxDoc&) {
                        s.Serve("/page", CPageServer::CutOff(Body(5000), 1000));
                    }},
        FailureCase{"ConnectionCutWhenThePageIsFull",
                    [](CPageServer& s, CTickerluxDoc&) {
                        s.Serve("/page", CPageServer::CutOff(Body(kMaxPage + 100), kMaxPage));
                    }},
        FailureCase{"GzipCutShortWithAMatchingLength",
                    [](CPageServer& s, CTickerluxDoc&) {
                        CPageServer::Response cut =
                            CPageServer::Compressed(Body(50000), CPageServer::Encoding::Gzip);
                        cut.body.resize(cut.body.size() / 2);
                        s.Serve("/page", cut);
                    },
                    FailureKind::Io},
        FailureCase{"RedirectToLocalFileIsRefused",
                    [](CPageServer& s, CTickerluxDoc&) { s.Redirect("/page", "file:///etc/passwd"); },
                    FailureKind::BadRedirect},
        FailureCase{"RedirectToAMalformedAddress",
                    [](CPageServer& s, CTickerluxDoc&) { s.Redirect("/page", "http://[::1/x"); },
                    FailureKind::BadRedirect},
        FailureCase{"RedirectLoopEnds",
                    [](CPageServer& s, CTickerluxDoc&) {
                        s.Redirect("/page", s.Url("/loop"));
                        s.Redirect("/loop", s.Url("/page"));
                    }},
        FailureCase{"HostDoesNotResolve",
                    [](CPageServer&, CTickerluxDoc& d) { d.WebServer = "no-such-host.invalid"; }},
        FailureCase{"NothingListens",
                    [](CPageServer&, CTickerluxDoc& d) { d.WebServer = ClosedPort(); }},
        FailureCase{"ServerWithScheme",
                    [](CPageServer& s, CTickerluxDoc& d) {
                        s.Serve("/page", CPageServer::Page("x"));
                        d.WebServer = "http://" + s.HostPort();
                    }},
        FailureCase{"ServerWithTrailingSlash",
                    [](CPageServer& s, CTickerluxDoc& d) {
                        s.Serve("/page", CPageServer::Page("x"));
                        d.WebServer = s.HostPort() + "/";
                    }},
        FailureCase{"EmptyServer", [](CPageServer&, CTickerluxDoc& d) { d.WebServer.clear(); }},
        FailureCase{"PortNotANumber",
                    [](CPageServer&, CTickerluxDoc& d) { d.WebServer = "127.0.0.1:80a"; }},
        FailureCase{"PortOutOfRange",
                    [](CPageServer&, CTickerluxDoc& d) { d.WebServer = "127.0.0.1:65536"; }}),
    [](const ::testing::TestParamInfo<FailureCase>& row) { return row.param.name; });

TEST_F(FetchPageTest, RedirectLoopStopsAfterTenRedirects)
{
    server.Redirect("/page", server.Url("/loop"));
    server.Redirect("/loop", server.Url("/page"));

    EXPECT_FALSE(Fetch("/page"));
    EXPECT_EQ(server.RequestCount("/page") + server.RequestCount("/loop"), 11);
}

} // namespace
