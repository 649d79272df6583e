#include "engine/TickerluxEngine.h"
#include "settings/TickerluxDoc.h"
#include "sign/SignDecoder.h"
#include "tests/support/RecordingUi.h"
#include "tools/pageserver/PageServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

using namespace tickerlux;
using namespace tickerlux::base;
using namespace tickerlux::settings;
using namespace tickerlux::headlines;
using namespace tickerlux::sign;
using namespace tickerlux::link;
using namespace tickerlux::engine;
using namespace tickerlux::pageserver;
using namespace tickerlux::test;

namespace {

// Puts each refresh of the views among the recorded events.
class ViewRecorder : public IDocumentObserver {
public:
    explicit ViewRecorder(std::vector<std::string>& events) : m_events(events) {}
    void OnDocumentUpdate(IDocumentObserver*, long) override { m_events.push_back("views"); }

private:
    std::vector<std::string>& m_events;
};

// The commands' order of steps, seen through the delivery hook and the views: what each would
// deliver, when the views are refreshed, and where both fall between the wait cursor's on and off.
class UpdateCommandsTest : public testing::Test {
protected:
    UpdateCommandsTest()
    {
        doc.AddObserver(&views);
        server.Serve("/news", CPageServer::Page("<h>Alpha</h><h>Beta</h>"));
        doc.WebServer = server.HostPort();
        doc.WebPath = "/news";
        doc.TextBefore = "<h>";
        doc.TextAfter = "</h>";
        doc.LeadingComment = "News";
        doc.Comm.ComPort = 7;
        engine.SetDeliveryHook([this](const SignPort& port, const Transmission& bytes) {
            ports.push_back(port.com);
            deliveries.push_back(sign::DecodeTransmission(bytes.data(), bytes.size()));
            ui.events.push_back("delivery:" + std::to_string(bytes.size()));
            if (onDelivery)
                onDelivery();
        });
    }
    ~UpdateCommandsTest() override { doc.RemoveObserver(&views); }

    std::vector<sign::TransmissionKind> Kinds() const
    {
        std::vector<sign::TransmissionKind> kinds;
        for (const auto& d : deliveries)
            kinds.push_back(d.kind);
        return kinds;
    }

    CPageServer server;
    CTickerluxDoc doc;
    CRecordingUi ui;
    CTickerluxEngine engine{doc, ui};
    ViewRecorder views{ui.events};
    std::vector<int> ports;
    std::vector<sign::DecodedTransmission> deliveries;
    std::function<void()> onDelivery;
};

using Kind = sign::TransmissionKind;

TEST_F(UpdateCommandsTest, UpdateSignNowDeliversThreeTransmissionsInOrder)
{
    EXPECT_TRUE(engine.OnUpdateSignNow().Ran());

    ASSERT_EQ(Kinds(), (std::vector<Kind>{Kind::MemoryConfig, Kind::WriteText, Kind::RunSequence}));
    EXPECT_EQ(ports, (std::vector<int>{7, 7, 7}));
    const auto textLength = static_cast<long>(deliveries[1].bytes.size());
    ASSERT_EQ(deliveries[0].memory.size(), 1u);
    EXPECT_EQ(deliveries[0].memory[0].size, textLength);
    ASSERT_TRUE(deliveries[1].text.has_value());
    EXPECT_EQ(deliveries[1].text->text, "News -- Alpha -- Beta");
    EXPECT_EQ(ui.events, (std::vector<std::string>{"wait-on", "delivery:39",
                                                   "delivery:" + std::to_string(textLength),
                                                   "delivery:31", "views", "wait-off"}));
    EXPECT_EQ(doc.SourceText, "<h>Alpha</h><h>Beta</h>");
    EXPECT_FALSE(engine.IsBusy());
}

TEST_F(UpdateCommandsTest, UnreachableServerStillDeliversABlankLine)
{
    doc.WebServer = "127.0.0.1:1";
    EXPECT_TRUE(engine.OnUpdateSignNow().Ran());

    ASSERT_EQ(ui.messages.size(), 1u);
    ASSERT_EQ(Kinds(), (std::vector<Kind>{Kind::MemoryConfig, Kind::WriteText, Kind::RunSequence}));
    EXPECT_EQ(deliveries[0].memory[0].size, 33);
    // The message and the emptied source window come before any delivery.
    EXPECT_EQ(ui.events, (std::vector<std::string>{"wait-on", "message:" + ui.messages[0],
                                                   "views", "delivery:39", "delivery:33",
                                                   "delivery:31", "views", "wait-off"}));
}

TEST_F(UpdateCommandsTest, SendLineDeliversTheGivenLineWithoutDownloading)
{
    EXPECT_TRUE(engine.OnSendLine("Hello").Ran());

    ASSERT_EQ(Kinds(), (std::vector<Kind>{Kind::MemoryConfig, Kind::WriteText, Kind::RunSequence}));
    EXPECT_EQ(deliveries[1].text->text, "Hello");
    EXPECT_EQ(deliveries[0].memory[0].size, static_cast<long>(deliveries[1].bytes.size()));
    EXPECT_EQ(server.RequestCount("/news"), 0);
}

TEST_F(UpdateCommandsTest, ClearSignIsOneDeliveryOf28Bytes)
{
    EXPECT_TRUE(engine.OnClearSign().Ran());

    EXPECT_EQ(ui.events,
              (std::vector<std::string>{"wait-on", "delivery:28", "views", "wait-off"}));
    EXPECT_EQ(Kinds(), (std::vector<Kind>{Kind::Clear}));
    EXPECT_EQ(ports, (std::vector<int>{7}));
    EXPECT_EQ(server.RequestCount("/news"), 0);
}

TEST_F(UpdateCommandsTest, UpdateSourceOnlyDeliversNothing)
{
    EXPECT_TRUE(engine.OnUpdateSourceOnly().Ran());

    EXPECT_TRUE(deliveries.empty());
    EXPECT_EQ(doc.SourceText, "<h>Alpha</h><h>Beta</h>");
    EXPECT_EQ(ui.events, (std::vector<std::string>{"wait-on", "views", "wait-off"}));
}

TEST_F(UpdateCommandsTest, WaitCursorGoesOffWhenAnExceptionLeaves)
{
    onDelivery = [] { throw std::runtime_error("link broke"); };
    EXPECT_THROW(engine.OnUpdateSignNow(), std::runtime_error);
    EXPECT_EQ(ui.waitDepth, 0);
    EXPECT_EQ(ui.events.back(), "wait-off");
    EXPECT_FALSE(engine.IsBusy());

    // The engine is usable again afterwards.
    onDelivery = nullptr;
    deliveries.clear();
    EXPECT_TRUE(engine.OnClearSign().Ran());
    EXPECT_EQ(deliveries.size(), 1u);
}

// A command dispatched while another runs (a timer tick in a message box or the USB pump) is
// refused and does nothing.
struct NestedCase {
    const char* name;
    std::function<bool(CTickerluxEngine&)> outer;
    std::function<bool(CTickerluxEngine&)> inner;
    std::size_t outerDeliveries;
    int downloads;
};

void PrintTo(const NestedCase& c, std::ostream* os)
{
    *os << c.name;
}

class NestedCommandTest : public UpdateCommandsTest,
                          public testing::WithParamInterface<NestedCase> {};

TEST_P(NestedCommandTest, IsRefused)
{
    const NestedCase& c = GetParam();
    std::vector<bool> innerResults;
    onDelivery = [&] { innerResults.push_back(c.inner(engine)); };

    EXPECT_TRUE(c.outer(engine));

    EXPECT_EQ(innerResults, std::vector<bool>(c.outerDeliveries, false));
    EXPECT_EQ(deliveries.size(), c.outerDeliveries);
    EXPECT_EQ(std::count(ui.events.begin(), ui.events.end(), "wait-on"), 1);
    EXPECT_EQ(ui.waitDepth, 0);
    EXPECT_EQ(server.RequestCount("/news"), c.downloads);
}

const auto kUpdate = [](CTickerluxEngine& e) { return e.OnUpdateSignNow().Ran(); };
const auto kClear = [](CTickerluxEngine& e) { return e.OnClearSign().Ran(); };
const auto kSourceOnly = [](CTickerluxEngine& e) { return e.OnUpdateSourceOnly().Ran(); };
const auto kSend = [](CTickerluxEngine& e) { return e.OnSendLine("x").Ran(); };

INSTANTIATE_TEST_SUITE_P(
    Commands, NestedCommandTest,
    testing::Values(NestedCase{"UpdateInsideUpdate", kUpdate, kUpdate, 3, 1},
                    NestedCase{"ClearInsideUpdate", kUpdate, kClear, 3, 1},
                    NestedCase{"SourceOnlyInsideUpdate", kUpdate, kSourceOnly, 3, 1},
                    NestedCase{"UpdateInsideClear", kClear, kUpdate, 1, 0},
                    NestedCase{"SendInsideSend", kSend, kSend, 3, 0}),
    [](const testing::TestParamInfo<NestedCase>& row) { return std::string(row.param.name); });

} // namespace
