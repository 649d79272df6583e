#include "engine/TickerluxEngine.h"
#include "settings/TickerluxDoc.h"
#include "tests/support/RecordingUi.h"
#include "tests/support/ShownTexts.h"
#include "tools/pageserver/PageServer.h"

#include <gtest/gtest.h>

// A server that accepts the request and never answers: the fetch must give up by its stall limit
// (30 s without data in the program, 1 s here) and report the connection error, not hang.
TEST(FetchStallTest, ServerThatNeverAnswersEndsInTheConnectionError)
{
    CPageServer server;
    server.Serve("/silent", CPageServer::Hang());
    CTickerluxDoc doc;
    doc.WebServer = server.HostPort();
    doc.WebPath = "/silent";
    CRecordingUi ui;
    CTickerluxEngine engine(doc, ui);
    engine.SetFetchStallLimit(std::chrono::seconds(1));

    EXPECT_EQ(engine.FetchPage().kind, FailureKind::TimedOut);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], shown::kConnectionError);
    // The client closed its end: the held connection is over.
    EXPECT_TRUE(server.WaitForConnections("/silent", 1));
}
