// The window while a command runs as a job: it stays alive, shows the stage, stops three ways,
// skips a timer tick and closes only once the job lets it. The page comes from a server that
// holds its answer until the test lets it go; the sign is the virtual one, paused by the test.
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

using namespace tickerlux;
using namespace tickerlux::app;
using namespace tickerlux::pageserver;
using namespace tickerlux::test;

namespace {

constexpr int kComPort = 7;
// A line long enough that a paused sign leaves its write-text transmission midway.
const std::string kLine = "News -- " + std::string(20000, 'N');

// The sign stored as COM7, a page server and the program on a feed that reads it, all in the
// test's own per-user store; it starts with a press of Update Sign Now.
struct Program {
    CTempDir dir;
    CPageServer server;
    std::unique_ptr<CTickerluxApp> app;

    explicit Program(CPageServer::Response page)
    {
        StoreComm(Comm("alpha", "serial port - custom settings", kComPort, 9600, 8, "none", 1));
        server.Serve("/news", std::move(page));
        settings::CTickerluxDoc feed;
        feed.WebServer = server.HostPort();
        feed.WebPath = "/news";
        feed.TextBefore = "<h>";
        feed.TextAfter = "</h>";
        feed.LeadingComment = "News";
        feed.OnSaveDocument(dir.File("feed.tlx"));
        app = std::make_unique<CTickerluxApp>();
        app->InitInstance({"tickerlux", QString::fromStdString(dir.File("feed.tlx"))});
        QApplication::setActiveWindow(app->MainFrame());
        QTest::mouseClick(View()->findChild<QPushButton*>("1003"), Qt::LeftButton);
    }
    CMainFrame& Frame() const { return *app->MainFrame(); }
    CTickerluxView* View() const { return Frame().View(); }
    QString Status() const { return Frame().statusBar()->currentMessage(); }
    QToolButton* Stop() const { return Frame().statusBar()->findChild<QToolButton*>("32773"); }
    // Which command buttons take clicks, where every control of the form is, the window's size.
    QVariantList Look() const
    {
        QVariantList look{Frame().geometry()};
        for (const char* id : {"1003", "1005", "1006"})
            look << View()->findChild<QPushButton*>(id)->isEnabled();
        for (const QWidget* control : View()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            look << control->geometry();
        return look;
    }
};

} // namespace

class JobWindowTest : public QObject {
    Q_OBJECT

private slots:
    void stopEndsTheDownload_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("Esc in an edit box") << "esc";
        QTest::newRow("the status bar's button") << "button";
        QTest::newRow("View > Stop") << "menu";
    }

    // While the server holds its answer the window lives and a timer tick is skipped; a stop ends
    // the download, sends nothing and keeps the page shown before.
    void stopEndsTheDownload()
    {
        QFETCH(QString, way);
        CScopedConfigHome home;
        CTestPty sign;
        sign.MapAs(kComPort);
        int ticks = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
        timer.start(1);
        Program program(CPageServer::Held("<h>Alpha</h>"));
        program.app->Document().SourceText = "<h>Earlier</h>";
        QVERIFY(program.server.WaitForRequests("/news", 1));
        const int ticksBefore = ticks;
        QTRY_VERIFY(ticks > ticksBefore + 3);
        QCOMPARE(program.Status(), QStringLiteral("Downloading page\u2026"));
        const QVariantList busy = program.Look();
        QCOMPARE(busy.mid(1, 3), (QVariantList{false, false, false}));
        QCOMPARE(program.View()->cursor().shape(), Qt::BusyCursor);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        program.View()->OnTimer(ids::kUpdateTimerId);
        QMenuBar* bar = program.Frame().menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(bar->actions().first()).center());
        QTRY_VERIFY(bar->actions().first()->menu()->isVisible());
        bar->actions().first()->menu()->hide();

        auto* edit = program.View()->findChild<QLineEdit*>("1001");
        edit->setFocus();
        if (way == "esc")
            QTest::keyClick(edit, Qt::Key_Escape);
        else if (way == "button")
            QTest::mouseClick(program.Stop(), Qt::LeftButton);
        else
            program.Frame().Action(ids::kStop)->trigger();
        QCOMPARE(program.Status(), QStringLiteral("Stopping the download\u2026"));
        QTRY_VERIFY(!program.View()->IsJobRunning());
        QCOMPARE(program.Status(), QString("Stopped"));
        QVariantList idle = busy;
        idle[1] = idle[2] = idle[3] = true;  // and nothing moved meanwhile
        QCOMPARE(program.Look(), idle);
        QVERIFY(!program.View()->testAttribute(Qt::WA_SetCursor));
        QVERIFY(!program.Frame().Action(ids::kStop)->isEnabled());
        QVERIFY(program.server.WaitForConnections("/news", 1));
        QCOMPARE(program.server.Stats("/news").abortedByClient, 1);
        QCOMPARE(program.server.RequestCount("/news"), 1);
        QCOMPARE(sign.Pending(), std::size_t(0));
        QCOMPARE(program.app->Document().SourceText, std::string("<h>Earlier</h>"));
    }

    void stopOrCloseDuringADelivery_data()
    {
        QTest::addColumn<int>("closes");
        QTest::addColumn<QString>("waiting");
        QTest::newRow("Stop: the whole update is sent") << 0 << QStringLiteral("Finishing the delivery\u2026");
        QTest::newRow("close: the window waits for the delivery")
            << 1 << QStringLiteral("Finishing the delivery before closing\u2026");
        QTest::newRow("close twice: the delivery is cut, the window goes")
            << 2 << QStringLiteral("Finishing the delivery before closing\u2026");
    }

    // Update Sign Now to a paused sign, stopped or closed with its line sent midway.
    void stopOrCloseDuringADelivery()
    {
        QFETCH(int, closes);
        QFETCH(QString, waiting);
        CScopedConfigHome home;
        CSignSimProcess sign(kComPort);
        sign.Pause(true);
        Program program(CPageServer::Page("<h>" + kLine.substr(8) + "</h>"));
        QProgressBar* progress = program.Frame().statusBar()->findChild<QProgressBar*>();
        QTRY_VERIFY_WITH_TIMEOUT(program.Status().startsWith(QStringLiteral("Sending to the sign\u2026 ")) &&
                                     progress->value() > 0 && progress->value() < 100,
                                 30000);
        if (closes == 0)
            QTest::mouseClick(program.Stop(), Qt::LeftButton);
        else
            QVERIFY(!program.Frame().close());
        QVERIFY(program.Frame().isVisible());
        QCOMPARE(program.Status(), waiting);
        if (closes == 2) {
            QVERIFY(program.Frame().close());
            QTRY_VERIFY(!program.View()->IsJobRunning());  // while the sign is paused: cut
            sign.Pause(false);
        } else {
            sign.Pause(false);
            QVERIFY(sign.WaitFor([](const CSignSimProcess::Event& e) { return e["text"] == kLine; }));
            QTRY_VERIFY_WITH_TIMEOUT(!program.View()->IsJobRunning(), 30000);
            QCOMPARE(progress->value(), 100);  // the progress went on to the end
            QTRY_COMPARE(program.Frame().isVisible(), closes == 0);
            QCOMPARE(program.Status(), QString("Sign updated"));
        }
        QCOMPARE(program.View()->SignLine(), closes == 2 ? std::string() : kLine);
        QCOMPARE(sign.Stop(), 0);
    }
};

TICKERLUX_GUI_TEST_MAIN(JobWindowTest)
#include "JobWindowTest.moc"
