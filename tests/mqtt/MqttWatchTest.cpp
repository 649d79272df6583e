// `tickerlux-cli watch --mqtt` run as a program against a real broker (mosquitto on 127.0.0.1),
// a page server and the virtual sign as COM3, with a client of the test's own on the broker.
#include "settings/ProductName.h"
#include "tests/support/MosquittoProcess.h"
#include "tests/support/MqttTestClient.h"
#include "tests/support/RunProgram.h"
#include "tests/support/SignSimProcess.h"
#include "tests/support/TempDir.h"
#include "tests/support/WatchProcess.h"
#include "tools/pageserver/PageServer.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <csignal>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

using namespace tickerlux;
using namespace tickerlux::pageserver;
using namespace tickerlux::settings;
using namespace tickerlux::test;

namespace {

using Message = CMqttTestClient::Message;
using Event = CSignSimProcess::Event;
using Json = nlohmann::json;

const std::string kLine = "News -- Alpha -- Beta";

void RunCli(std::vector<std::string> args)
{
    args.insert(args.begin(), BuildDir() + "/cli/tickerlux-cli");
    const ProgramResult result = RunProgram(args);
    ASSERT_EQ(result.exitCode, 0) << result.err;
}

// Waits for the sign to show `text`; returns the display event (null when it never does).
Json Shows(CSignSimProcess& sign, const std::string& text)
{
    return sign
        .WaitFor([&](const Event& e) { return e["event"] == "display" && e["text"] == text; })
        .value_or(Json());
}

// The texts the sign shows until it shows `text`, the blank between transmissions left out.
std::vector<std::string> ShownUntil(CSignSimProcess& sign, const std::string& text)
{
    std::vector<std::string> shown;
    while (shown.empty() || shown.back() != text) {
        const std::optional<Event> next = sign.WaitForEvent("display");
        if (!next)
            break;
        if ((*next)["text"] != "")
            shown.push_back((*next)["text"]);
    }
    return shown;
}

// The retained payload on `topic` that a client arriving now reads first.
std::string Retained(int port, const std::string& topic)
{
    CMqttTestClient late(port, {topic});
    Message found;
    EXPECT_TRUE(late.WaitFor([](const Message& m) { return m.retained; }, found)) << topic;
    return found.payload;
}

// The retained state of `sign` once `match` takes it: the watch publishes it a moment after the
// sign shows what it tells, so clients arrive until one reads it.
Json RetainedState(int port, const std::string& sign, const std::function<bool(const Json&)>& match)
{
    const auto deadline = std::chrono::steady_clock::now() + CMqttTestClient::kDefaultTimeout;
    Json state;
    const auto taken = [&] { return state.is_object() && match(state); };
    do
        state = Json::parse(Retained(port, "tickerlux/" + sign + "/state"), nullptr, false);
    while (!taken() && std::chrono::steady_clock::now() < deadline);
    EXPECT_TRUE(taken()) << state;
    return state;
}

class MqttWatchTest : public testing::Test {
public:
    void SetUp() override
    {
        server.Serve("/news", CPageServer::Page("<h>Alpha</h><h>Beta</h>"));
        RunCli({"config", "Connection=serial port - betabrite classic", "ComPort=3"});
        RunCli({"set", feedPath, "WebServer=" + server.HostPort(), "WebPath=/news",
                "TextBefore=<h>", "TextAfter=</h>", "LeadingComment=News", "UpdateMinutes=60"});
    }

    // Starts a watch of the feed on the broker as `sign`'s sign (by default named for the feed
    // file: "shop") and waits for its first update to show.
    std::unique_ptr<CWatchProcess> StartWatch(CSignSimProcess& on, std::vector<std::string> extra = {},
                                              const std::string& name = "watch")
    {
        extra.insert(extra.begin(), {"--mqtt", "mqtt://127.0.0.1:" + std::to_string(broker.Port())});
        auto watch = std::make_unique<CWatchProcess>(feedPath, dir, false, extra, name);
        EXPECT_FALSE(Shows(on, kLine).is_null()) << watch->Err();
        return watch;
    }

    CScopedConfigHome home;  // first: the sign enters its COM port into this store
    CTempDir dir;
    std::string feedPath = dir.File("Shop.tlx");
    CPageServer server;
    CSignSimProcess sign{3};
    CMosquittoProcess broker;
    CMqttTestClient client{broker.Port(), {}};
};

struct MqttCase {
    const char* name;
    std::function<void(MqttWatchTest&, CWatchProcess&)> check;
};

void PrintTo(const MqttCase& c, std::ostream* os)
{
    *os << c.name;
}

class MqttWatchCaseTest : public MqttWatchTest, public testing::WithParamInterface<MqttCase> {};

TEST_P(MqttWatchCaseTest, TakesTheCommand)
{
    const std::unique_ptr<CWatchProcess> watch = StartWatch(sign);
    ASSERT_TRUE(watch->WaitForOutput("MQTT: connected to mqtt://127.0.0.1:" +
                                     std::to_string(broker.Port()) + " as sign 'shop'"))
        << watch->Err();
    GetParam().check(*this, *watch);
}

const MqttCase kCases[] = {
    {"MessageIsShownAndItsStateKept",
     [](MqttWatchTest& t, CWatchProcess&) {
         t.client.Publish("tickerlux/shop/message/set", "\xc5\x81odz \xe2\x80\x93 5 \xe2\x82\xac");
         EXPECT_FALSE(Shows(t.sign, "Lodz - 5 EUR").is_null());
         const Json state = RetainedState(t.broker.Port(), "shop", [](const Json& j) {
             return j["line"] == "Lodz - 5 EUR";
         });
         EXPECT_EQ(state["job"], "message sent");
         EXPECT_TRUE(state["sent"].is_string()) << state;
         EXPECT_EQ(state["feed"], "http://" + t.server.HostPort() + "/news");
         EXPECT_EQ(Retained(t.broker.Port(), "tickerlux/shop/availability"), "online");
     }},
    {"JsonMessageInItsColourAndMode",
     [](MqttWatchTest& t, CWatchProcess&) {
         t.client.Publish("tickerlux/shop/message/set",
                          R"({"text":"Hi","color":"green","condensed":true})");
         const Json shown = Shows(t.sign, "Hi");
         EXPECT_EQ(shown["color"], "Green") << shown;
         EXPECT_EQ(shown["mode_code"], "t") << shown;
     }},
    {"UpdateShowsTheFeedAgain",
     [](MqttWatchTest& t, CWatchProcess&) {
         t.client.Publish("tickerlux/shop/message/set", "between");
         ASSERT_FALSE(Shows(t.sign, "between").is_null());
         t.client.Publish("tickerlux/shop/update/set", "");
         EXPECT_FALSE(Shows(t.sign, kLine).is_null());
         EXPECT_EQ(RetainedState(t.broker.Port(), "shop", [](const Json& j) {
                       return j["line"] == kLine;
                   })["job"],
                   "sign updated");
     }},
    {"ClearBlanksTheSign",
     [](MqttWatchTest& t, CWatchProcess&) {
         t.client.Publish("tickerlux/shop/clear/set", "PRESS");
         EXPECT_TRUE(t.sign.WaitFor([](const Event& e) { return e["kind"] == "clear"; }));
         EXPECT_EQ(RetainedState(t.broker.Port(), "shop", [](const Json& j) {
                       return j["job"] == "sign cleared";
                   })["line"],
                   "");
     }},
    {"RefusedPayloadIsToldAndNothingShown",
     [](MqttWatchTest& t, CWatchProcess& watch) {
         t.client.Publish("tickerlux/shop/message/set", R"({"text": 5})");
         EXPECT_TRUE(watch.WaitForOutput("MQTT: refused a message on tickerlux/shop/message/set"));
         const Json state = RetainedState(t.broker.Port(), "shop", [](const Json& j) {
             return j.contains("notice");
         });
         EXPECT_NE(state["notice"].get<std::string>().find("refused"), std::string::npos) << state;
         t.client.Publish("tickerlux/shop/message/set", "after");
         EXPECT_EQ(ShownUntil(t.sign, "after"), std::vector<std::string>{"after"});
     }},
    {"RetainedCommandNeverRunsAgain",
     [](MqttWatchTest& t, CWatchProcess& first) {
         t.client.Publish("tickerlux/shop/message/set", "once", true);
         ASSERT_FALSE(Shows(t.sign, "once").is_null());
         ASSERT_EQ(first.StopWith(SIGTERM), 0);
         const std::unique_ptr<CWatchProcess> again = t.StartWatch(t.sign, {}, "again");
         EXPECT_TRUE(again->WaitForOutput("MQTT: ignored a retained command")) << again->Err();
         t.client.Publish("tickerlux/shop/message/set", "fresh");
         EXPECT_EQ(ShownUntil(t.sign, "fresh"), std::vector<std::string>{"fresh"});
     }},
    {"DiscoveryDescribesOneDevice",
     [](MqttWatchTest& t, CWatchProcess&) {
         CMqttTestClient ha(t.broker.Port(), {"homeassistant/#"});
         std::vector<Json> configs;
         Message m;
         while (configs.size() < 4 && ha.WaitFor([](const Message& c) { return c.retained; }, m,
                                                 CMqttTestClient::kDefaultTimeout, configs.size()))
             configs.push_back(Json::parse(m.payload));
         ASSERT_EQ(configs.size(), 4u);
         for (const Json& config : configs) {
             EXPECT_EQ(config["availability_topic"], "tickerlux/shop/availability");
             EXPECT_EQ(config["device"]["manufacturer"], kProductName);
             EXPECT_EQ(config["device"]["identifiers"], configs[0]["device"]["identifiers"]);
             EXPECT_EQ(config["unique_id"].get<std::string>().rfind("tickerlux_shop_", 0), 0u);
         }
         EXPECT_EQ(Json::parse(Retained(t.broker.Port(), "homeassistant/sensor/tickerlux_shop/line/config"))
                       ["value_template"],
                   "{{ value_json.line[:255] }}");
         const Json text = Json::parse(Retained(t.broker.Port(), "homeassistant/text/tickerlux_shop/message/config"));
         EXPECT_EQ(text["command_topic"], "tickerlux/shop/message/set");
         EXPECT_EQ(text["max"], 255);
     }},
    {"StopSaysOffline",
     [](MqttWatchTest& t, CWatchProcess& watch) {
         EXPECT_EQ(watch.StopWith(SIGTERM), 0) << watch.Err();
         EXPECT_EQ(Retained(t.broker.Port(), "tickerlux/shop/availability"), "offline");
     }},
    {"AllReachesEverySign",
     [](MqttWatchTest& t, CWatchProcess&) {
         CSignSimProcess door(4);
         const std::unique_ptr<CWatchProcess> second =
             t.StartWatch(door, {"--com", "4", "--mqtt-name", "door"}, "door");
         ASSERT_TRUE(second->WaitForOutput("as sign 'door'")) << second->Err();
         t.client.Publish("tickerlux/all/message/set", "to all");
         EXPECT_FALSE(Shows(t.sign, "to all").is_null());
         EXPECT_FALSE(Shows(door, "to all").is_null());
     }},
};

INSTANTIATE_TEST_SUITE_P(Commands, MqttWatchCaseTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<MqttCase>& row) {
                             return std::string(row.param.name);
                         });

// A broker that is down at the start and comes up, then dies and comes back: the watch connects,
// then reconnects, and takes the next command each time; the sign kept its first update.
TEST_F(MqttWatchTest, ReconnectsToABrokerThatComesAndGoes)
{
    broker.Kill();
    const std::unique_ptr<CWatchProcess> watch = StartWatch(sign);
    ASSERT_TRUE(watch->WaitForOutput("MQTT: cannot reach the broker")) << watch->Err();
    broker.Start();
    ASSERT_TRUE(watch->WaitForOutput("MQTT: connected to")) << watch->Err();
    {
        CMqttTestClient first(broker.Port(), {});
        first.Publish("tickerlux/shop/message/set", "first");
        EXPECT_FALSE(Shows(sign, "first").is_null());
    }
    broker.Kill();
    ASSERT_TRUE(watch->WaitForOutput("MQTT: lost the broker")) << watch->Err();
    broker.Start();
    ASSERT_TRUE(watch->WaitForOutput("MQTT: reconnected to")) << watch->Err();
    CMqttTestClient second(broker.Port(), {});
    second.Publish("tickerlux/shop/message/set", "second");
    EXPECT_FALSE(Shows(sign, "second").is_null());
    // Each change is told once, not at every try.
    const std::string err = watch->Err();
    EXPECT_EQ(err.find("cannot reach", err.find("cannot reach") + 1), std::string::npos) << err;
}

} // namespace
