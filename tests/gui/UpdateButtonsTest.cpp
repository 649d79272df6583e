// The three update buttons end to end: the program with a feed on its command line, a page
// served on 127.0.0.1 and the virtual sign on a pseudo-terminal reached as a COM port.
#include "app/MainFrame.h"
#include "app/TickerluxApp.h"
#include "app/TickerluxView.h"
#include "base/Win1252.h"
#include "engine/TickerluxEngine.h"
#include "settings/UserSettings.h"
#include "tests/gui/GuiTest.h"
#include "tests/support/RecordingUi.h"
#include "tests/support/SignSimProcess.h"
#include "tools/pageserver/PageServer.h"

#include <QPlainTextEdit>
#include <QPushButton>

#include <memory>
#include <optional>

using namespace tickerlux;
using namespace tickerlux::base;
using namespace tickerlux::settings;
using namespace tickerlux::headlines;
using namespace tickerlux::link;
using namespace tickerlux::engine;
using namespace tickerlux::app;
using namespace tickerlux::pageserver;
using namespace tickerlux::test;

namespace {

using Event = CSignSimProcess::Event;

constexpr int kComPort = 6;
const std::string kPage = "<html><h>Alpha</h> <h>Caf\xe9 prize</h></html>";

} // namespace

class UpdateButtonsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CScopedConfigHome> m_home;
    std::unique_ptr<CTempDir> m_dir;
    std::unique_ptr<CPageServer> m_server;
    std::unique_ptr<CSignSimProcess> m_sign;
    std::unique_ptr<CTickerluxApp> m_app;

    // Starts the program on a feed that reads `webServer`.
    void Start(const std::string& webServer)
    {
        CTickerluxDoc feed;
        feed.WebServer = webServer;
        feed.WebPath = "/news";
        feed.TextBefore = "<h>";
        feed.TextAfter = "</h>";
        feed.LeadingComment = "News";
        const std::string path = m_dir->File("feed.tlx");
        QVERIFY(!feed.OnSaveDocument(path).Failed());
        m_app = std::make_unique<CTickerluxApp>();
        QVERIFY(m_app->InitInstance({"tickerlux", QString::fromStdString(path)}));
    }

    // Clicks a command button and waits until its job has ended, messages included.
    void Click(int id)
    {
        CTickerluxView* view = m_app->MainFrame()->View();
        auto* button = view->findChild<QPushButton*>(QString::number(id));
        QVERIFY(button);
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(view->IsJobRunning());
        QTRY_VERIFY_WITH_TIMEOUT(!view->IsJobRunning(), 30000);
    }

    QString SourceWindow() const
    {
        return m_app->MainFrame()->View()->findChild<QPlainTextEdit*>("1021")->toPlainText();
    }

    struct Received {
        QStringList kinds;
        QString display = QStringLiteral("<none>");
    };

    // The next `count` transmissions (kinds, each checked as a sign would) and, when `changesDisplay`,
    // what the sign shows after them.
    Received Receive(int count, bool changesDisplay = true)
    {
        Received received;
        bool shown = false;
        while (received.kinds.size() < count) {
            const std::optional<Event> e = m_sign->Next();
            if (!e)
                return received;
            if ((*e)["event"] == "display") {
                received.display = QString::fromStdString((*e)["text"].get<std::string>());
                shown = true;
            } else if ((*e)["event"] == "transmission") {
                if (!(*e)["errors"].empty())
                    qWarning("the sign rejects %s", e->dump().c_str());
                received.kinds << QString::fromStdString((*e)["kind"].get<std::string>());
            }
        }
        if (changesDisplay && !shown) {
            if (const std::optional<Event> e = m_sign->WaitForEvent("display"))
                received.display = QString::fromStdString((*e)["text"].get<std::string>());
        }
        return received;
    }

    // Puts a line on the sign, so that a later change to blank shows.
    void ShowOldNews()
    {
        CTickerluxView* view = m_app->MainFrame()->View();
        JobRequest request = RequestFrom(m_app->Document(), JobCommand::SendLine);
        request.line = "Old news";
        QVERIFY(view->StartJob(request));
        QCOMPARE(Receive(3).display, QString("Old news"));
        QTRY_VERIFY(!view->IsJobRunning());
    }

private slots:
    void init()
    {
        m_home = std::make_unique<CScopedConfigHome>();
        m_dir = std::make_unique<CTempDir>();
        m_server = std::make_unique<CPageServer>();
        m_server->Serve("/news", CPageServer::Page(kPage));
        m_sign = std::make_unique<CSignSimProcess>(kComPort);
        CommSettings stored = Comm("alpha", "serial port - custom settings", kComPort, 9600, 8, "none", 1);
        QVERIFY(StoreComm(stored));
    }

    void cleanup()
    {
        m_app.reset();
        if (m_sign)
            QCOMPARE(m_sign->Stop(), 0);
        m_sign.reset();
        m_server.reset();
        m_dir.reset();
        m_home.reset();
    }

    void updateSignNowShowsTheLine()
    {
        Start(m_server->HostPort());
        CModalWatcher watcher(CModalWatcher::Press(QMessageBox::Ok));
        Click(1003);
        const Received received = Receive(3);
        QCOMPARE(received.kinds, (QStringList{"memory-config", "write-text", "run-sequence"}));
        QCOMPARE(received.display, QString::fromUtf8("News -- Alpha -- Caf\u00e9 prize"));
        QVERIFY(watcher.shown.isEmpty());
        QCOMPARE(SourceWindow(), QString::fromStdString(win1252::ToUtf8(kPage)));
        QVERIFY(!m_app->Document().IsModified());
    }

    // A timer tick while the fetcher's message is open is dropped: one message, one update. The
    // box comes after the job, when the form has its own cursor back.
    void deadServerShowsTheMessageOnceAndBlanksTheSign()
    {
        std::string deadServer;
        {
            CPageServer gone;
            deadServer = gone.HostPort();
        }
        // What the fetcher says for this server, word for word.
        CTickerluxDoc probe;
        probe.WebServer = deadServer;
        probe.WebPath = "/news";
        CRecordingUi recorded;
        CTickerluxEngine(probe, recorded).BuildSignLine();
        QCOMPARE(recorded.messages.size(), std::size_t(1));

        Start(deadServer);
        ShowOldNews();

        CTickerluxView* view = m_app->MainFrame()->View();
        Qt::CursorShape cursorOverBox = Qt::BusyCursor;
        QStringList boxLooks;  // icon and buttons of each message box
        CModalWatcher watcher([view, &cursorOverBox, &boxLooks](QDialog* dialog) {
            cursorOverBox = view->cursor().shape();
            if (const auto* box = qobject_cast<QMessageBox*>(dialog))
                boxLooks << QStringLiteral("%1, %2")
                                .arg(box->icon() == QMessageBox::NoIcon ? "no icon" : "an icon")
                                .arg(box->standardButtons() == QMessageBox::Ok ? "OK only" : "more buttons");
            view->OnTimer(41);
            CModalWatcher::Press(QMessageBox::Ok)(dialog);
        });
        Click(1003);
        QCOMPARE(watcher.shown, QStringList{QString::fromStdString(win1252::ToUtf8(recorded.messages.front()))});
        QCOMPARE(watcher.captions, QStringList{"Newsglow"});
        QCOMPARE(boxLooks, QStringList{"no icon, OK only"});
        QCOMPARE(cursorOverBox, Qt::ArrowCursor);
        QCOMPARE(QApplication::overrideCursor(), nullptr);  // never one for the whole program
        const Received received = Receive(3);
        QCOMPARE(received.kinds, (QStringList{"memory-config", "write-text", "run-sequence"}));
        QCOMPARE(received.display, QString());
        QCOMPARE(SourceWindow(), QString());
    }

    void clearSignSendsTheClearTransmissionOnly()
    {
        Start(m_server->HostPort());
        ShowOldNews();
        Click(1005);
        const Received received = Receive(1);
        QCOMPARE(received.kinds, QStringList{"clear"});
        QCOMPARE(received.display, QString());
    }

    void updateSourceOnlyFillsTheSourceWindowAndSendsNothing()
    {
        Start(m_server->HostPort());
        Click(1006);
        QCOMPARE(SourceWindow(), QString::fromStdString(win1252::ToUtf8(kPage)));
        QCOMPARE(m_server->Stats("/news").requests, 1);
        // The next thing the sign hears is the clear that follows, nothing before it.
        Click(1005);
        QCOMPARE(Receive(1, false).kinds, QStringList{"clear"});
    }
};

TICKERLUX_GUI_TEST_MAIN(UpdateButtonsTest)
#include "UpdateButtonsTest.moc"
