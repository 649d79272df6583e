// tickerlux-web's API over HTTP: a server started in this process on 127.0.0.1:0 over the real
// backend, a per-user store of the test's own, a page server and the virtual sign.
#include "tests/support/SignSimProcess.h"
#include "tests/support/TempDir.h"
#include "tools/pageserver/PageServer.h"
#include "web/EngineBackend.h"
#include "web/Password.h"
#include "web/WebServer.h"

#include "settings/UserSettings.h"
#include "settings/TickerluxDoc.h"

#include <curl/curl.h>
#include <gtest/gtest.h>
#include <sodium.h>

#include <ostream>

using namespace tickerlux;
using namespace tickerlux::pageserver;
using namespace tickerlux::settings;
using namespace tickerlux::test;
using namespace tickerlux::web;
using nlohmann::json;

namespace {

constexpr int kComPort = 4;
const std::string kPassword = "correct horse";

struct Reply {
    long status = 0;
    std::string body;
    std::string headers;
};

// One request with libcurl; `host` and `origin` replace the ones a browser would send.
struct Call {
    std::string method = "GET";
    std::string path = "/";
    std::string body = "";
    std::optional<std::string> host = std::nullopt;
    std::optional<std::string> origin = std::nullopt;
    bool withToken = true;
};

class WebApiTest : public testing::Test {
protected:
    void SetUp() override
    {
        CommSettings comm;
        comm.ChooseKind(settings::ConnectionKind::ClassicSerial);
        comm.ComPort = kComPort;
        ASSERT_FALSE(settings::UpdateUserSettings([&](settings::UserSettings& s) { s.Comm = comm; })
                         .Failed());
        std::string problem;
        backend = OpenEngineBackend(feed, settings::LoadUserSettings().settings, problem);
        ASSERT_TRUE(backend) << problem;
        Options options;
        options.feed = feed;
        options.listen = *ParseListenAddress("127.0.0.1:0", problem);
        // The stored form at the lowest cost, so that each check is quick.
        const auto hash = HashPassword(kPassword, {crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN});
        ASSERT_TRUE(hash);
        server.emplace(*backend, options, *hash, [this] { return now; });
        self = "127.0.0.1:" + std::to_string(server->Port());
        token = json::parse(Send({.path = "/api/session"}).body)["token"];
    }

    Reply Send(const Call& call)
    {
        CURL* curl = curl_easy_init();
        Reply reply;
        curl_slist* headers = nullptr;
        headers = curl_slist_append(headers, ("Host: " + call.host.value_or(self)).c_str());
        headers = curl_slist_append(headers, ("Origin: " + call.origin.value_or("http://" + self)).c_str());
        headers = curl_slist_append(headers, "Content-Type: application/json");
        if (call.withToken)
            headers = curl_slist_append(headers, ("X-Tickerlux-Token: " + token).c_str());
        const auto collect = +[](char* data, size_t size, size_t count, void* into) {
            static_cast<std::string*>(into)->append(data, size * count);
            return size * count;
        };
        curl_easy_setopt(curl, CURLOPT_URL, ("http://" + self + call.path).c_str());
        curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
        curl_easy_setopt(curl, CURLOPT_COOKIEFILE, "");  // keeps the session cookie in `jar`
        curl_easy_setopt(curl, CURLOPT_COOKIELIST, cookies.c_str());
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, collect);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, &reply.body);
        curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, collect);
        curl_easy_setopt(curl, CURLOPT_HEADERDATA, &reply.headers);
        if (call.method == "POST")
            curl_easy_setopt(curl, CURLOPT_COPYPOSTFIELDS, call.body.c_str());
        EXPECT_EQ(curl_easy_perform(curl), CURLE_OK);
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &reply.status);
        // The cookie the server set, for the next request.
        const auto at = reply.headers.find("Set-Cookie: ");
        if (at != std::string::npos) {
            const std::string cookie = reply.headers.substr(at + 12, reply.headers.find(';', at) - at - 12);
            cookies = "Set-Cookie: " + cookie + "; domain=127.0.0.1; path=/";
        }
        curl_slist_free_all(headers);
        curl_easy_cleanup(curl);
        return reply;
    }

    Reply Post(const std::string& path, const json& body)
    {
        return Send({.method = "POST", .path = path, .body = body.dump()});
    }

    void LogIn()
    {
        const Reply login = Post("/api/login", {{"password", kPassword}});
        ASSERT_EQ(login.status, 200) << login.body;
        token = json::parse(login.body)["token"];
    }

    CScopedConfigHome home;  // first: the sign enters its COM port into this store
    CTempDir dir;
    std::string feed = dir.File("feed.tlx");
    std::chrono::steady_clock::time_point now{};
    std::unique_ptr<ISignBackend> backend;
    std::optional<CWebServer> server;
    std::string self;
    std::string token;
    std::string cookies = "ALL";
};

// Requests that the checks refuse or let in, from a fresh session.
struct CheckCase {
    const char* name;
    Call call;
    int wrongLogins = 0;  // failed logins from this address first
    long status;
};

void PrintTo(const CheckCase& row, std::ostream* out)
{
    *out << row.name;
}

class WebRequestChecks : public WebApiTest, public testing::WithParamInterface<CheckCase> {};

TEST_P(WebRequestChecks, AnswerWithTheirStatus)
{
    for (int i = 0; i < GetParam().wrongLogins; ++i)
        EXPECT_EQ(Post("/api/login", {{"password", "wrong"}}).status, 401);
    const Reply reply = Send(GetParam().call);
    EXPECT_EQ(reply.status, GetParam().status) << reply.body;
}

const std::string kLogin = json{{"password", kPassword}}.dump();
INSTANTIATE_TEST_SUITE_P(
    Web, WebRequestChecks,
    testing::Values(
        CheckCase{"RightPassword", {.method = "POST", .path = "/api/login", .body = kLogin}, 0, 200},
        CheckCase{"WrongPassword", {.method = "POST", .path = "/api/login", .body = R"({"password":"x"})"}, 0, 401},
        CheckCase{"RightPasswordAfterManyWrongMustWait",
                  {.method = "POST", .path = "/api/login", .body = kLogin}, 3, 429},
        CheckCase{"StateBeforeLogin", {.path = "/api/state"}, 0, 401},
        CheckCase{"ForeignOrigin",
                  {.method = "POST", .path = "/api/login", .body = kLogin, .origin = "http://evil.example"}, 0, 403},
        CheckCase{"NoToken", {.method = "POST", .path = "/api/login", .body = kLogin, .withToken = false}, 0, 403},
        CheckCase{"ForeignHost", {.path = "/", .host = "evil.example"}, 0, 421},
        CheckCase{"LocalhostOnAnotherPort", {.path = "/", .host = "localhost:1"}, 0, 421},
        CheckCase{"OversizedBody",
                  {.method = "POST", .path = "/api/login", .body = std::string(70 * 1024, ' ')}, 0, 413},
        CheckCase{"ThePage", {.path = "/"}, 0, 200}),
    [](const testing::TestParamInfo<CheckCase>& row) { return row.param.name; });

TEST_F(WebApiTest, SaveWritesTheBytesOfTheDocumentsSave)
{
    LogIn();
    const json fields = {{"WebServer", "news.example"}, {"WebPath", "/top"}, {"TextBefore", "<h>"},
                         {"TextAfter", "</h>"}, {"LeadingComment", "Caf\u00e9"}, {"ColorIndex", 3},
                         {"AutoUpdate", true}, {"UpdateMinutes", "15 min"}, {"ShowTime", true}};
    ASSERT_EQ(Post("/api/save", {{"fields", fields}}).status, 200);

    CTickerluxDoc doc;
    doc.WebServer = "news.example";
    doc.WebPath = "/top";
    doc.TextBefore = "<h>";
    doc.TextAfter = "</h>";
    doc.LeadingComment = "Caf\xe9";
    doc.ColorIndex = 3;
    doc.AutoUpdate = true;
    doc.UpdateMinutes = "15";  // written as a number when auto-update is switched on
    doc.ShowTime = true;
    ASSERT_FALSE(doc.OnSaveDocument(dir.File("expected.tlx")).Failed());
    EXPECT_EQ(ReadFileBytes(feed), ReadFileBytes(dir.File("expected.tlx")));
    EXPECT_FALSE(json::parse(Send({.path = "/api/state"}).body)["modified"].get<bool>());
}

TEST_F(WebApiTest, UpdateAndClearReachTheVirtualSign)
{
    CSignSimProcess sign(kComPort);
    CPageServer pages;
    pages.Serve("/news", CPageServer::Page("<h>Alpha</h><h>Beta</h>"));
    LogIn();
    const json fields = {{"WebServer", pages.HostPort()}, {"WebPath", "/news"}, {"TextBefore", "<h>"},
                         {"TextAfter", "</h>"}, {"LeadingComment", "News"}};
    ASSERT_EQ(Post("/api/command", {{"command", "update"}, {"fields", fields}}).status, 200);
    const auto shown = sign.WaitForEvent("display");
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->value("text", ""), "News -- Alpha -- Beta");
    backend->WaitForJob();
    json state = json::parse(Send({.path = "/api/state"}).body);
    EXPECT_TRUE(state["job"]["succeeded"].get<bool>()) << state["job"];
    EXPECT_NE(state["source"].get<std::string>().find("<h>Alpha</h>"), std::string::npos);
    const Reply preview = Send({.path = "/api/preview.png"});
    EXPECT_EQ(preview.body.substr(1, 3), "PNG");

    ASSERT_EQ(Post("/api/command", {{"command", "clear"}}).status, 200);
    const auto cleared = sign.WaitFor([](const json& e) { return e["kind"] == "clear"; });
    ASSERT_TRUE(cleared);
    EXPECT_EQ((*cleared)["errors"], json::array());
    backend->WaitForJob();
    state = json::parse(Send({.path = "/api/state"}).body);
    EXPECT_TRUE(state["job"]["succeeded"].get<bool>()) << state["job"];
}

// A page that announces a feed of two items, both served by the test's page server.
void ServeAnnouncedFeed(CPageServer& pages)
{
    pages.Serve("/home", CPageServer::Page(R"(<html><head><link rel="alternate" title="Top" )"
                                           R"(type="application/rss+xml" href="/feed"></head></html>)"));
    pages.Serve("/feed", CPageServer::Page("<rss version=\"2.0\"><channel><title>Chan</title><item><title>"
                                           "Alpha</title></item><item><title>Beta</title></item></channel></rss>",
                                           200, "application/rss+xml"));
}

TEST_F(WebApiTest, FindListsTheWaysAndChoosingOneSetsTheForm)
{
    CPageServer pages;
    ServeAnnouncedFeed(pages);
    LogIn();
    ASSERT_EQ(Post("/api/find", {{"address", "http://" + pages.HostPort() + "/home"}}).status, 200);
    backend->WaitForJob();
    const json found = json::parse(Send({.path = "/api/state"}).body)["found"];
    ASSERT_EQ(found["candidates"].size(), 1u) << found;
    EXPECT_EQ(found["candidates"][0]["what"], "the feed \"Top\" that the page announces");
    EXPECT_EQ(found["candidates"][0]["headlines"], json({"Alpha", "Beta"}));

    EXPECT_EQ(Post("/api/choose", {{"find", found["number"].get<int>() + 1}, {"index", 0}}).status, 422);
    ASSERT_EQ(Post("/api/choose", {{"find", found["number"]}, {"index", 0}}).status, 200);
    const json state = json::parse(Send({.path = "/api/state"}).body);
    EXPECT_EQ(state["fields"]["WebServer"], pages.HostPort());
    EXPECT_EQ(state["fields"]["WebPath"], "/feed");
    EXPECT_EQ(state["fields"]["HeadlineSource"], settings::kHeadlinesFromFeedItems);
    EXPECT_TRUE(state["modified"].get<bool>());
}

// A full address typed into Web Server, over a form of old.example/old with `marker` as both
// markers.
struct AddressCase {
    const char* name;
    const char* marker;
    std::string address;  // HOST stands for the page server
    long status;
    std::string webServer, webPath;
    int source;
    std::string said;  // how the job's words or the refusal begin
};

void PrintTo(const AddressCase& row, std::ostream* out)
{
    *out << row.name;
}

class WebAddressTyped : public WebApiTest, public testing::WithParamInterface<AddressCase> {};

TEST_P(WebAddressTyped, FillsTheFormOrTakesTheBestWay)
{
    const AddressCase& row = GetParam();
    CPageServer pages;
    ServeAnnouncedFeed(pages);
    const auto withHost = [&](std::string text) {
        if (const auto at = text.find("HOST"); at != std::string::npos)
            text.replace(at, 4, pages.HostPort());
        return text;
    };
    LogIn();
    ASSERT_EQ(Post("/api/fields", {{"fields", {{"WebServer", "old.example"}, {"WebPath", "/old"},
                                               {"TextBefore", row.marker}, {"TextAfter", row.marker}}}})
                  .status, 200);
    const Reply reply = Post("/api/address", {{"address", withHost(row.address)}});
    ASSERT_EQ(reply.status, row.status) << reply.body;
    backend->WaitForJob();
    const json state = json::parse(Send({.path = "/api/state"}).body);
    const json said = reply.status != 200 ? json::parse(reply.body)["error"]
                      : json::parse(reply.body)["searching"].get<bool>() ? state["job"]["messages"][0]
                                                                           : json("");
    EXPECT_TRUE(said.get<std::string>().starts_with(row.said)) << said;
    EXPECT_EQ(state["fields"]["WebServer"], withHost(row.webServer));
    EXPECT_EQ(state["fields"]["WebPath"], row.webPath);
    EXPECT_EQ(state["fields"]["HeadlineSource"], row.source);
}

INSTANTIATE_TEST_SUITE_P(
    Web, WebAddressTyped,
    testing::Values(
        AddressCase{"NoMarkersTakesTheBestWay", "", "http://HOST/home", 200, "HOST", "/feed", 1,
                    "Chose the feed \"Top\" that the page announces, 2 headlines."},
        AddressCase{"NothingFoundStoresTheAddress", "", "http://HOST/none", 200, "HOST", "/none", 0,
                    "The page could not be downloaded."},
        AddressCase{"MarkersPresentJustFill", "<h>", "https://HOST/home?a=1#top", 200, "https://HOST",
                    "/home?a=1", 0, ""},
        AddressCase{"UserInfoRefused", "<h>", "http://me:pw@HOST/home", 422, "old.example", "/old", 0,
                    "The address cannot be used: a user name or password"}),
    [](const testing::TestParamInfo<AddressCase>& row) { return row.param.name; });

TEST(WebPasswordStore, KeepsTheHashInThePerUserStore)
{
    CScopedConfigHome home;
    EXPECT_EQ(settings::LoadUserSettings().settings.WebPasswordHash, "");
    const auto hash = HashPassword("pw", {crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN});
    ASSERT_TRUE(hash);
    ASSERT_FALSE(StorePasswordHash(*hash).Failed());
    const std::string stored = settings::LoadUserSettings().settings.WebPasswordHash;
    EXPECT_EQ(stored, hash);
    EXPECT_NE(ReadFileBytes(home.StoreFile()).find("\"PasswordHash\"=\"$argon2id$"), std::string::npos);
    EXPECT_TRUE(VerifyPassword(stored, "pw"));
    EXPECT_FALSE(VerifyPassword(stored, "pW"));
}

} // namespace
