// Saves pictures of the main window (also during a delivery), the Communication Settings dialog,
// the About box, the sign preview and the virtual sign's window, for `make screenshots`
// (tools/screenshots.sh runs it under a virtual X server).
#include "app/AboutDlg.h"
#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "app/SignPreview.h"
#include "app/TickerluxApp.h"
#include "app/TickerluxView.h"
#include "app/dialogs/CommSettingsDlg.h"
#include "settings/UserSettings.h"
#include "tests/support/SignSimProcess.h"
#include "tests/support/TempDir.h"
#include "tools/signsim/SignWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPixmap>
#include <QScreen>
#include <QStatusBar>

#include <cstdio>
#include <exception>

using namespace tickerlux;
using namespace tickerlux::base;
using namespace tickerlux::settings;
using namespace tickerlux::headlines;
using namespace tickerlux::sign;
using namespace tickerlux::link;
using namespace tickerlux::engine;
using namespace tickerlux::app;
using namespace tickerlux::leds;
using namespace tickerlux::signsim;
using namespace tickerlux::test;

namespace {

bool Save(QWidget& widget, const QString& folder, const QString& name)
{
    widget.show();
    QApplication::processEvents();
    const QString path = QDir(folder).filePath(name);
    const bool ok = widget.grab().save(path);
    std::printf("%s %s\n", ok ? "saved" : "FAILED", qPrintable(path));
    return ok;
}

// Lets a moving line come in far enough to fill the window.
void RunLine()
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 2600)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

// The virtual sign's window is a plain window, not a widget: it is taken from the screen.
bool SaveSignWindow(const QString& folder, const QString& name)
{
    signsim::CSignWindow window;
    window.show();
    signsim::Display display;
    display.text = "World news 09:41  Rain expected over the weekend  Caf\xE9 owners win city prize";
    display.colorCode = '3';
    display.modeCode = 'a';
    window.Face()(display);
    RunLine();
    const QString path = QDir(folder).filePath(name);
    const bool ok = window.screen()->grabWindow(window.winId()).save(path);
    std::printf("%s %s\n", ok ? "saved" : "FAILED", qPrintable(path));
    return ok;
}

// Sends `line` to the virtual sign on COM2 and takes the window while the paused sign leaves the
// write-text transmission midway: the status bar with the stage, the progress and Stop.
bool SaveDelivery(CTickerluxApp& app, const QString& folder, const std::string& line)
{
    try {
        CSignSimProcess sign(2);
        CTickerluxView* view = app.MainFrame()->View();
        JobRequest request = RequestFrom(app.Document(), JobCommand::SendLine);
        request.line = line;
        sign.Pause(true);
        view->StartJob(request);
        QElapsedTimer clock;
        clock.start();
        const QStatusBar* bar = app.MainFrame()->statusBar();
        while (!bar->currentMessage().contains(QStringLiteral("%")) && clock.elapsed() < 10000)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        const bool ok = Save(*app.MainFrame(), folder, QStringLiteral("main-window-delivering.png"));
        sign.Pause(false);
        while (view->IsJobRunning() && clock.elapsed() < 30000)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        return ok && sign.Stop() == 0;
    } catch (const std::exception& e) {
        std::printf("FAILED the delivery picture: %s\n", e.what());
        return false;
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(folder);

    // A store of its own with a connection, so the dialog does not open at start.
    CScopedConfigHome home;
    UpdateUserSettings([](UserSettings& stored) {
        stored.Comm.ChooseKind(ConnectionKind::CustomSerial);
        stored.Comm.ComPort = 2;
    });

    CTickerluxApp app;
    if (!app.InitInstance(QApplication::arguments().mid(0, 1)))
        return 1;
    CTickerluxDoc& doc = app.Document();
    doc.WebServer = "news.example.org";
    doc.WebPath = "/world/index.html";
    doc.AutoUpdate = 1;
    doc.UpdateMinutes = "30";
    doc.TextBefore = "<h2 class=\"headline\">";
    doc.TextAfter = "</h2>";
    doc.LeadingComment = "World news";
    doc.ShowTime = 1;
    doc.SourceText = "<html>\r\n<head><title>World news</title></head>\r\n<body>\r\n"
                     "<h2 class=\"headline\">Rain expected over the weekend</h2>\r\n"
                     "<h2 class=\"headline\">Caf\xE9 owners win city prize</h2>\r\n</body>\r\n</html>\r\n";
    app.MainFrame()->View()->OnInitialUpdate();

    bool ok = Save(*app.MainFrame(), folder, QStringLiteral("main-window.png"));

    CCommSettingsDlg comm(app.Document().Comm, app.MainFrame());
    ok = Save(comm, folder, QStringLiteral("communication-settings.png")) && ok;
    comm.hide();

    CAboutDlg about(app.MainFrame());
    ok = Save(about, folder, QStringLiteral("about.png")) && ok;
    about.hide();

    // A long line, so that the delivery takes a while; the preview then shows its start.
    doc.ColorIndex = 1;  // Autocolor
    std::string line;
    while (line.size() < 20000)
        line += "World news 09:41  Rain expected over the weekend  Caf\xE9 owners win city prize  ";
    ok = SaveDelivery(app, folder, line) && ok;
    app.MainFrame()->Action(ids::kViewSignPreview)->trigger();
    RunLine();
    ok = Save(*app.MainFrame()->SignPreview(), folder, QStringLiteral("sign-preview.png")) && ok;

    ok = SaveSignWindow(folder, QStringLiteral("virtual-sign-window.png")) && ok;

    app.Document().SetModifiedFlag(false);
    return ok ? 0 : 1;
}
