#include "headlines/TickerluxEngine.h"
#include "settings/TickerluxDoc.h"
#include "tests/support/RecordingUi.h"
#include "tests/support/ShownTexts.h"
#include "tools/pageserver/PageServer.h"

#include <gtest/gtest.h>

// A server that accepts the request and never answers: the fetch must give up by its stall limit
// (30 s without data) and report the connection error, not hang the program.
TEST(FetchStallTest, ServerThatNeverAnswersEndsInTheConnectionError)
{
    CPageServer server;
    server.Serve("/silent", CPageServer::Hang());
    CTickerluxDoc doc;
    doc.WebServer = server.HostPort();
    doc.WebPath = "/silent";
    CRecordingUi ui;
    CTickerluxEngine engine(doc, ui);

    EXPECT_FALSE(engine.FetchPage());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], shown::kConnectionError);
    // The client closed its end: the held connection is over.
    EXPECT_TRUE(server.WaitForConnections("/silent", 1));
}
