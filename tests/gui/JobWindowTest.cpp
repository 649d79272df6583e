// The window while a command runs as a job: it stays alive, shows the stage, stops three ways,
// skips a timer tick and closes only once the job lets it. The page comes from a server that
// holds its answer until the test lets it go, the sign is the virtual one, paused by the test.
#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "app/TickerluxApp.h"
#include "app/TickerluxView.h"
#include "tests/gui/GuiTest.h"
#include "tests/support/SignSimProcess.h"
#include "tests/support/TestPty.h"
#include "tools/pageserver/PageServer.h"

#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>

#include <memory>

using namespace tickerlux;
using namespace tickerlux::settings;
using namespace tickerlux::app;
using namespace tickerlux::pageserver;
using namespace tickerlux::test;

namespace {

constexpr int kComPort = 7;
// A line long enough that a paused sign leaves its write-text transmission midway.
const std::string kHeadline(20000, 'N');

} // namespace

class JobWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CScopedConfigHome> m_home;
    std::unique_ptr<CTempDir> m_dir;
    std::unique_ptr<CPageServer> m_server;
    std::unique_ptr<CTickerluxApp> m_app;

    void Start(CPageServer::Response page)
    {
        m_server->Serve("/news", std::move(page));
        CTickerluxDoc feed;
        feed.WebServer = m_server->HostPort();
        feed.WebPath = "/news";
        feed.TextBefore = "<h>";
        feed.TextAfter = "</h>";
        feed.LeadingComment = "News";
        QVERIFY(!feed.OnSaveDocument(m_dir->File("feed.tlx")).Failed());
        m_app = std::make_unique<CTickerluxApp>();
        QVERIFY(m_app->InitInstance({"tickerlux", QString::fromStdString(m_dir->File("feed.tlx"))}));
        QApplication::setActiveWindow(&Frame());
    }
    CMainFrame& Frame() const { return *m_app->MainFrame(); }
    CTickerluxView* View() const { return Frame().View(); }
    QString Status() const { return Frame().statusBar()->currentMessage(); }
    QProgressBar* Progress() const { return Frame().statusBar()->findChild<QProgressBar*>(); }
    QList<bool> CommandsEnabled() const
    {
        QList<bool> enabled;
        for (int id : {ids::kUpdateSignNow, ids::kClearSign, ids::kUpdateSourceOnly})
            enabled << View()->findChild<QPushButton*>(QString::number(id))->isEnabled();
        return enabled;
    }
    // Where every control of the form is, and the window's size.
    QList<QRect> Layout() const
    {
        QList<QRect> places{Frame().geometry(), View()->geometry()};
        for (const QWidget* control : View()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            places << control->geometry();
        return places;
    }
    // Starts Update Sign Now on a paused sign and waits until its line is sent midway.
    void SendMidway(CSignSimProcess& sign)
    {
        Start(CPageServer::Page("<h>" + kHeadline + "</h>"));
        sign.Pause(true);
        QTest::mouseClick(View()->findChild<QPushButton*>("1003"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(Status().startsWith(QStringLiteral("Sending to the sign\u2026 ")) &&
                                     Progress()->value() > 0 && Progress()->value() < 100,
                                 30000);
    }
    bool SignShowsTheLine(CSignSimProcess& sign)
    {
        return bool(sign.WaitFor([](const CSignSimProcess::Event& e) {
            return e["event"] == "display" && e["text"] == "News -- " + kHeadline;
        }));
    }

private slots:
    void init()
    {
        m_home = std::make_unique<CScopedConfigHome>();
        m_dir = std::make_unique<CTempDir>();
        m_server = std::make_unique<CPageServer>();
        QVERIFY(StoreComm(Comm("alpha", "serial port - custom settings", kComPort, 9600, 8, "none", 1)));
    }

    void cleanup()
    {
        m_app.reset();
        m_server.reset();
        m_dir.reset();
        m_home.reset();
    }

    void stopEndsTheDownload_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("Esc in an edit box") << "esc";
        QTest::newRow("the status bar's button") << "button";
        QTest::newRow("View > Stop") << "menu";
    }

    // While the server holds its answer the window lives; a stop ends the download, sends nothing
    // and keeps the page shown before.
    void stopEndsTheDownload()
    {
        QFETCH(QString, way);
        CTestPty sign;
        sign.MapAs(kComPort);
        Start(CPageServer::Held("<h>Alpha</h>"));
        const QList<QRect> layout = Layout();
        int ticks = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
        timer.start(1);

        m_app->Document().SourceText = "<h>Earlier</h>";
        QTest::mouseClick(View()->findChild<QPushButton*>("1003"), Qt::LeftButton);
        QVERIFY(m_server->WaitForRequests("/news", 1));
        const int ticksBefore = ticks;
        QTRY_VERIFY(ticks > ticksBefore + 3);
        QVERIFY(View()->IsJobRunning());
        QCOMPARE(Status(), QStringLiteral("Downloading page\u2026"));
        QCOMPARE(CommandsEnabled(), (QList<bool>{false, false, false}));
        QCOMPARE(View()->cursor().shape(), Qt::BusyCursor);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QCOMPARE(Layout(), layout);

        QMenuBar* bar = Frame().menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(bar->actions().first()).center());
        QTRY_VERIFY(bar->actions().first()->menu()->isVisible());
        bar->actions().first()->menu()->hide();

        if (way == "esc") {
            QLineEdit* server = View()->findChild<QLineEdit*>("1001");
            server->setFocus();
            QTest::keyClick(server, Qt::Key_Escape);
        } else if (way == "button") {
            QTest::mouseClick(Frame().statusBar()->findChild<QToolButton*>("32773"), Qt::LeftButton);
        } else {
            Frame().Action(ids::kStop)->trigger();
        }
        QCOMPARE(Status(), QStringLiteral("Stopping the download\u2026"));
        QTRY_VERIFY(!View()->IsJobRunning());
        QCOMPARE(Status(), QString("Stopped"));
        QCOMPARE(CommandsEnabled(), (QList<bool>{true, true, true}));
        QVERIFY(!View()->testAttribute(Qt::WA_SetCursor));
        QVERIFY(!Frame().Action(ids::kStop)->isEnabled());
        QVERIFY(m_server->WaitForConnections("/news", 1));
        QCOMPARE(m_server->Stats("/news").abortedByClient, 1);
        QCOMPARE(sign.Pending(), std::size_t(0));
        QCOMPARE(m_app->Document().SourceText, std::string("<h>Earlier</h>"));
    }

    // A stop during the delivery lets the whole update reach the sign; the progress goes on.
    void stopDuringTheDeliveryFinishesTheUpdate()
    {
        CSignSimProcess sign(kComPort);
        SendMidway(sign);
        QList<int> values;
        connect(Progress(), &QProgressBar::valueChanged, [&values](int value) { values << value; });
        QTest::mouseClick(Frame().statusBar()->findChild<QToolButton*>("32773"), Qt::LeftButton);
        QCOMPARE(Status(), QStringLiteral("Finishing the delivery\u2026"));

        sign.Pause(false);
        QVERIFY(SignShowsTheLine(sign));
        QVERIFY(sign.WaitFor([](const CSignSimProcess::Event& e) { return e["kind"] == "run-sequence"; }));
        QTRY_VERIFY(!View()->IsJobRunning());
        QCOMPARE(Status(), QString("Sign updated"));
        QVERIFY(values.contains(100));
        QCOMPARE(View()->SignLine(), "News -- " + kHeadline);
        QCOMPARE(sign.Stop(), 0);
    }

    void closingDuringADelivery_data()
    {
        QTest::addColumn<bool>("twice");
        QTest::newRow("once: the window waits for the delivery") << false;
        QTest::newRow("twice: the delivery is cut and the window goes") << true;
    }

    void closingDuringADelivery()
    {
        QFETCH(bool, twice);
        CSignSimProcess sign(kComPort);
        SendMidway(sign);
        QVERIFY(!Frame().close());
        QVERIFY(Frame().isVisible());
        QCOMPARE(Status(), QStringLiteral("Finishing the delivery before closing\u2026"));
        if (twice) {
            QVERIFY(Frame().close());
            QTRY_VERIFY(!View()->IsJobRunning());  // the sign is still paused: cut, not finished
            sign.Pause(false);
        } else {
            sign.Pause(false);
            QVERIFY(SignShowsTheLine(sign));
            QTRY_VERIFY_WITH_TIMEOUT(!Frame().isVisible(), 30000);
        }
        QVERIFY(!View()->IsJobRunning());
        QCOMPARE(sign.Stop(), 0);
    }

    // A tick that falls due during a job is skipped; one after it runs.
    void timerTickDuringAJobIsSkipped()
    {
        CTestPty sign;
        sign.MapAs(kComPort);
        Start(CPageServer::Held("<h>Alpha</h>"));
        View()->OnTimer(ids::kUpdateTimerId);
        QVERIFY(m_server->WaitForRequests("/news", 1));
        View()->OnTimer(ids::kUpdateTimerId);
        m_server->ReleaseHeld();
        QTRY_VERIFY(!View()->IsJobRunning());
        QCOMPARE(View()->SignLine(), std::string("News -- Alpha"));
        View()->OnTimer(ids::kUpdateTimerId);
        QTRY_VERIFY(!View()->IsJobRunning());
        QCOMPARE(m_server->RequestCount("/news"), 2);
    }
};

TICKERLUX_GUI_TEST_MAIN(JobWindowTest)
#include "JobWindowTest.moc"
