// Find Headlines in the window, and an address pasted or typed into Web Server, against pages of
// the test's own server: the dialog's ways and what choosing sets, the best way for an address
// alone, and addresses that find nothing or cannot be used.
#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "app/TickerluxApp.h"
#include "app/TickerluxView.h"
#include "tests/gui/GuiTest.h"
#include "tools/pageserver/PageServer.h"

#include <QClipboard>
#include <QLabel>
#include <QStatusBar>
#include <QTreeWidget>

using namespace tickerlux;
using namespace tickerlux::app;
using namespace tickerlux::pageserver;
using namespace tickerlux::test;

namespace {

const std::string kFeed = "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>Courier</title>"
                          "<item><title>Alpha rises</title></item><item><title>Beta falls</title></item>"
                          "</channel></rss>";
const std::string kNews = "<html><head><link rel=\"alternate\" type=\"application/rss+xml\" "
                          "title=\"Top stories\" href=\"feed\"><link rel=\"alternate\" "
                          "type=\"application/rss+xml\" href=\"/gone\"></head><body><p>Hello</p></body></html>";

} // namespace

class FindHeadlinesTest : public QObject {
    Q_OBJECT

private slots:
    void findAndPaste_data()
    {
        QTest::addColumn<QString>("how");      // find-ok, find-cancel, paste, type
        QTest::addColumn<QString>("address");  // %1: the server's host and port
        QTest::addColumn<QString>("webPath");  // the document's afterwards
        QTest::addColumn<int>("source");
        QTest::addColumn<QStringList>("shown");  // the dialog's ways, or the message's first line
        QTest::addColumn<QString>("status");
        const QStringList ways{"the feed \"Top stories\" that the page announces: 2 headlines",
                               "  Alpha rises", "  Beta falls",
                               "Choosing it sets: WebServer=%1  WebPath=/feed  HeadlineSource=1",
                               "Left out:\nhttp://%1/gone: the server answered 404"};
        QTest::newRow("Find Headlines lists the ways, OK chooses") << "find-ok" << "" << "/feed" << 1 << ways
                                                                  << "Page searched for headlines";
        QTest::newRow("Find Headlines, Cancel changes nothing") << "find-cancel" << "" << "/news" << 0 << ways
                                                               << "Page searched for headlines";
        QTest::newRow("a pasted feed's address takes it") << "paste" << "http://%1/feed" << "/feed" << 1
                                                          << QStringList()
                                                          << "Chose the page itself, read as a feed, 2 headlines";
        QTest::newRow("a typed address takes the announced feed")
            << "type" << "http://%1/news#top" << "/feed" << 1 << QStringList()
            << "Chose the feed \"Top stories\" that the page announces, 2 headlines";
        QTest::newRow("a page with nothing keeps the address") << "paste" << "http://%1/gone" << "/gone" << 0
            << QStringList{"The page could not be downloaded: the server answered with an error (HTTP status 404)."}
            << "The page could not be downloaded: the server answered with an error (HTTP status 404).";
        QTest::newRow("user info changes nothing") << "paste" << "http://me:secret@%1/feed" << "/news" << 0
            << QStringList{"This address cannot be used: a user name or password in the address is not supported."}
            << "Ready";
    }

    void findAndPaste()
    {
        QFETCH(QString, how);
        QFETCH(QString, address);
        QFETCH(QString, webPath);
        QFETCH(int, source);
        QFETCH(QStringList, shown);
        QFETCH(QString, status);
        CScopedConfigHome home;
        QVERIFY(StoreComm(Comm("alpha", "serial port - custom settings", 7, 9600, 8, "none", 1)));
        CPageServer server;
        server.Serve("/feed", CPageServer::Page(kFeed, 200, "application/rss+xml"));
        server.Serve("/news", CPageServer::Page(kNews));
        const QString host = QString::fromStdString(server.HostPort());
        CTickerluxApp app;
        app.InitInstance({"tickerlux"});
        QApplication::setActiveWindow(app.MainFrame());
        settings::CTickerluxDoc& doc = app.Document();
        doc.WebServer = server.HostPort();
        doc.WebPath = "/news";
        doc.UpdateAllViews();

        QStringList seen;
        CModalWatcher watcher([&](QDialog* dialog) {
            if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
                seen << box->text().section(u'\n', 0, 0);
                return box->accept();
            }
            auto* ways = dialog->findChild<QTreeWidget*>();
            for (const QTreeWidgetItem* way = ways->topLevelItem(0); way; way = ways->itemBelow(way))
                seen << (way->parent() ? "  " : "") + way->text(0);
            for (const QLabel* label : dialog->findChildren<QLabel*>().mid(1))
                seen << label->text();
            how == "find-ok" ? dialog->accept() : dialog->reject();
        });
        auto* edit = app.MainFrame()->View()->findChild<QLineEdit*>("1001");
        edit->setFocus();
        edit->selectAll();  // the paste or the first key replaces it
        doc.SetModifiedFlag(false);
        if (how.startsWith("find")) {
            app.MainFrame()->Action(ids::kFindHeadlines)->trigger();
        } else if (how == "paste") {
            QApplication::clipboard()->setText(address.replace("%1", host));
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        } else {
            TypeInto(edit, address.replace("%1", host));
            QTest::keyClick(edit, Qt::Key_Tab);
        }
        QCoreApplication::processEvents();
        QTRY_VERIFY(!app.MainFrame()->View()->IsJobRunning());

        QCOMPARE(seen, shown.replaceInStrings("%1", host));
        QCOMPARE(app.MainFrame()->statusBar()->currentMessage(), status);
        QCOMPARE(doc.WebServer, server.HostPort());
        QCOMPARE(doc.WebPath, webPath.toStdString());
        QCOMPARE(doc.HeadlineSource, source);
        QCOMPARE(doc.IsModified(), how != "find-cancel");
        doc.SetModifiedFlag(false);
    }
};

TICKERLUX_GUI_TEST_MAIN(FindHeadlinesTest)
#include "FindHeadlinesTest.moc"
