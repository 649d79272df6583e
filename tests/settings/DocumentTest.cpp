#include "settings/TickerluxDoc.h"

#include <gtest/gtest.h>

using namespace tickerlux;
using namespace tickerlux::settings;

namespace {

struct CountingObserver : IDocumentObserver {
    void OnDocumentUpdate(IDocumentObserver*, long) override { ++updates; }
    int updates = 0;
};

TEST(Document, FreshDocumentHasTheDefaults)
{
    const CTickerluxDoc doc;
    EXPECT_EQ(doc.UpdateMinutes, "60");
    EXPECT_EQ(doc.ColorIndex, 9);
    EXPECT_EQ(doc.AutoUpdate + doc.Condensed + doc.ShowTime + doc.ReservedFlag, 0);
    EXPECT_TRUE(doc.WebServer.empty() && doc.WebPath.empty() && doc.ReservedText.empty());
    EXPECT_TRUE(doc.TextBefore.empty() && doc.TextAfter.empty() && doc.LeadingComment.empty());
    EXPECT_TRUE(doc.SourceText.empty());
    EXPECT_EQ(doc.Comm.Protocol, "alpha");
    EXPECT_EQ(doc.Comm.Connection, settings::ConnectionKind::None);
    EXPECT_EQ(doc.Comm.ComPort, 1);
    EXPECT_EQ(doc.Comm.BaudRate, 9600);
    EXPECT_EQ(doc.Comm.ByteSize, 7);
    EXPECT_EQ(doc.Comm.Parity, settings::Parity::Even);
    EXPECT_EQ(doc.Comm.StopBits, settings::StopBits::One);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetTitle(), "Untitled");
}

TEST(Document, NewDocumentResetsFeedFieldsAndKeepsCommunicationSettings)
{
    CTickerluxDoc doc;
    doc.WebServer = "example.org";
    doc.WebPath = "/news";
    doc.ReservedText = "kept from file to file";
    doc.AutoUpdate = 1;
    doc.UpdateMinutes = "5";
    doc.TextBefore = "<h>";
    doc.TextAfter = "</h>";
    doc.LeadingComment = "News";
    doc.ColorIndex = 2;
    doc.HeadlineSource = kHeadlinesFromFeedItems;
    doc.Condensed = 1;
    doc.ShowTime = 1;
    doc.ReservedFlag = true;
    doc.SourceText = "page";
    doc.Comm.ChooseKind(settings::ConnectionKind::Usb);
    doc.SetPathName("/tmp/feeds/news.tlx");
    doc.SetModifiedFlag();

    ASSERT_TRUE(doc.OnNewDocument());

    EXPECT_EQ(doc.WebServer, "");
    EXPECT_EQ(doc.WebPath, "");
    EXPECT_EQ(doc.ReservedText, "");
    EXPECT_FALSE(doc.AutoUpdate);
    EXPECT_EQ(doc.UpdateMinutes, "60");
    EXPECT_EQ(doc.TextBefore, "");
    EXPECT_EQ(doc.TextAfter, "");
    EXPECT_EQ(doc.LeadingComment, "");
    EXPECT_EQ(doc.ColorIndex, 9);
    EXPECT_EQ(doc.HeadlineSource, kHeadlinesFromMarkers);
    EXPECT_FALSE(doc.Condensed);
    EXPECT_FALSE(doc.ShowTime);
    EXPECT_FALSE(doc.ReservedFlag);
    EXPECT_EQ(doc.SourceText, "");
    EXPECT_EQ(doc.Comm.Connection, settings::ConnectionKind::Usb);
    EXPECT_EQ(doc.Comm.ComPort + doc.Comm.BaudRate + doc.Comm.ByteSize, 0);
    EXPECT_EQ(doc.Comm.StopBits, settings::StopBits::Unset);
    EXPECT_EQ(doc.Comm.Parity, settings::Parity::Unset);
    EXPECT_EQ(doc.GetPathName(), "");
    EXPECT_EQ(doc.GetTitle(), "Untitled");
    EXPECT_FALSE(doc.IsModified());
}

TEST(Document, TitleIsTheFileName)
{
    CTickerluxDoc doc;
    doc.SetPathName("/home/me/feeds/world news.tlx");
    EXPECT_EQ(doc.GetTitle(), "world news.tlx");
}

TEST(Document, UpdateAllViewsSkipsTheSenderAndRemovedObservers)
{
    CTickerluxDoc doc;
    CountingObserver a, b, c;
    doc.AddObserver(&a);
    doc.AddObserver(&b);
    doc.AddObserver(&b);
    doc.AddObserver(&c);
    doc.RemoveObserver(&c);
    doc.UpdateAllViews(&a);
    EXPECT_EQ(a.updates, 0);
    EXPECT_EQ(b.updates, 1);
    EXPECT_EQ(c.updates, 0);
    doc.UpdateAllViews();
    EXPECT_EQ(a.updates, 1);
    EXPECT_EQ(b.updates, 2);
}

// Removes another observer when told, as a view closing a second view would.
struct RemovingObserver : IDocumentObserver {
    RemovingObserver(CTickerluxDoc& d, IDocumentObserver& o) : doc(d), other(o) {}
    void OnDocumentUpdate(IDocumentObserver*, long) override { doc.RemoveObserver(&other); }
    CTickerluxDoc& doc;
    IDocumentObserver& other;
};

TEST(Document, AnObserverRemovedDuringAnUpdateIsNotToldAnyMore)
{
    CTickerluxDoc doc;
    CountingObserver removed;
    RemovingObserver remover(doc, removed);
    doc.AddObserver(&remover);
    doc.AddObserver(&removed);
    doc.UpdateAllViews();
    EXPECT_EQ(removed.updates, 0);
}

} // namespace
