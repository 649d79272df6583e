#include "engine/TickerluxEngine.h"
#include "headlines/TimeStamp.h"
#include "settings/TickerluxDoc.h"
#include "settings/UserSettings.h"
#include "tests/support/RecordingUi.h"
#include "tests/support/SignReception.h"
#include "tests/support/TempDir.h"
#include "tools/pageserver/PageServer.h"

#include <gtest/gtest.h>

#include <ctime>
#include <optional>
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

using Event = CSignSimProcess::Event;

constexpr int kComPort = 5;
const std::string kPage = "<html><h>Alpha</h> <h>Beta</h></html>";

// The commands with real parts only: a page server on 127.0.0.1, the document loaded from a
// settings file, and the virtual sign on a pseudo-terminal reached as COM5.
class UpdateEndToEndTest : public testing::Test {
protected:
    void SetUp() override
    {
        server.Serve("/news", CPageServer::Page(kPage));
        CTickerluxDoc feed;
        feed.WebServer = server.HostPort();
        feed.WebPath = "/news";
        feed.TextBefore = "<h>";
        feed.TextAfter = "</h>";
        feed.LeadingComment = "News";
        ASSERT_FALSE(feed.OnSaveDocument(feedPath).Failed());
        ASSERT_FALSE(doc.OnOpenDocument(feedPath).Failed());
        doc.Comm.Connection = settings::ConnectionKindOf("serial port - custom settings");
        doc.Comm.ComPort = kComPort;
        doc.Comm.BaudRate = 9600;
        doc.Comm.ByteSize = 8;
        doc.Comm.Parity = settings::Parity::None;
        doc.Comm.StopBits = settings::StopBits::One;
        engine.SetClock([] { return kNow; });
        engine.SetPortMap(LoadUserSettings().settings.Ports);
    }

    SignReception Receive(std::size_t count) { return ReceiveTransmissions(sign, count); }

    // Puts a line on the sign, so that a later change to blank shows.
    void ShowSomething()
    {
        ASSERT_TRUE(engine.OnSendLine("Old news").Ran());
        ASSERT_EQ(Receive(3).shown, std::vector<std::string>{"Old news"});
    }

    static constexpr std::time_t kNow = 1700000000;
    CScopedConfigHome home;  // first: the sign enters its COM port into this store
    CTempDir dir;
    std::string feedPath = dir.File("feed.tlx");
    CPageServer server;
    CSignSimProcess sign{kComPort};
    CTickerluxDoc doc;
    CRecordingUi ui;
    CTickerluxEngine engine{doc, ui};
};

const std::vector<std::string> kUpdateKinds = {"memory-config", "write-text", "run-sequence"};

struct ShowTimeCase {
    const char* name;
    int showTime;
};

void PrintTo(const ShowTimeCase& c, std::ostream* os)
{
    *os << c.name;
}

class UpdateSignNowEndToEndTest : public UpdateEndToEndTest,
                                  public testing::WithParamInterface<ShowTimeCase> {};

TEST_P(UpdateSignNowEndToEndTest, SignShowsTheHeadlines)
{
    doc.ShowTime = GetParam().showTime;
    ASSERT_TRUE(engine.OnUpdateSignNow().Ran());

    const SignReception received = Receive(3);
    ASSERT_EQ(received.Kinds(), kUpdateKinds);
    EXPECT_EQ(received.transmissions[0]["files"][0]["size"], received.transmissions[1]["length"]);
    const std::string expected =
        "News" + (doc.ShowTime ? FormatUpdateTimeStamp(kNow) : std::string()) + " -- Alpha -- Beta";
    EXPECT_EQ(received.shown, std::vector<std::string>{expected});
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(ui.failures.empty());
    EXPECT_EQ(doc.SourceText, kPage);
}

INSTANTIATE_TEST_SUITE_P(
    ShowTime, UpdateSignNowEndToEndTest,
    testing::Values(ShowTimeCase{"WithoutTimeStamp", 0}, ShowTimeCase{"WithTimeStamp", 1}),
    [](const testing::TestParamInfo<ShowTimeCase>& row) { return std::string(row.param.name); });

TEST_F(UpdateEndToEndTest, ServerDownBlanksTheSign)
{
    ShowSomething();
    {
        CPageServer gone;  // a port that nobody listens on once it is closed
        doc.WebServer = gone.HostPort();
    }
    ASSERT_TRUE(engine.OnUpdateSignNow().Ran());

    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].rfind("Error connecting to the website.", 0), 0u);
    const SignReception received = Receive(3);
    ASSERT_EQ(received.Kinds(), kUpdateKinds);
    EXPECT_EQ(received.transmissions[1]["length"], 33);
    EXPECT_EQ(received.transmissions[0]["files"][0]["size"], 33);
    ASSERT_FALSE(received.shown.empty());
    EXPECT_EQ(received.shown.back(), "");
}

TEST_F(UpdateEndToEndTest, ClearSignIsOneTransmissionOf28Bytes)
{
    ShowSomething();
    ASSERT_TRUE(engine.OnClearSign().Ran());
    // A following line marks where the clear command's deliveries end.
    ASSERT_TRUE(engine.OnSendLine("Marker").Ran());

    const SignReception received = Receive(2);
    ASSERT_EQ(received.Kinds(), (std::vector<std::string>{"clear", "memory-config"}));
    EXPECT_EQ(received.transmissions[0]["length"], 28);
    EXPECT_EQ(received.shown, std::vector<std::string>{""});
    EXPECT_EQ(server.RequestCount("/news"), 0);
}

TEST_F(UpdateEndToEndTest, UpdateSourceOnlyDeliversNothing)
{
    ASSERT_TRUE(engine.OnUpdateSourceOnly().Ran());
    ASSERT_TRUE(engine.OnClearSign().Ran());  // the marker

    EXPECT_EQ(Receive(1).Kinds(), (std::vector<std::string>{"clear"}));
    EXPECT_EQ(doc.SourceText, kPage);
    EXPECT_EQ(server.RequestCount("/news"), 1);
}

} // namespace
