// Saves pictures of the main window, the Communication Settings dialog and the About box, for
// `make screenshots` (tools/screenshots.sh runs it under a virtual X server).
#include "app/AboutDlg.h"
#include "app/MainFrame.h"
#include "app/TickerluxApp.h"
#include "app/TickerluxView.h"
#include "app/dialogs/CommSettingsDlg.h"
#include "settings/CommSettingsStore.h"
#include "settings/RegistryAccess.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>

#include <cstdio>

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

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(folder);

    // A store of its own with a connection, so the dialog does not open at start.
    CScopedConfigHome home;
    CommSettings stored{"alpha", "serial port - custom settings", 2, 9600, 7, "even", 1};
    commstore::Save(stored, CRegistryAccess());

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

    CCommSettingsDlg comm(stored, app.MainFrame());
    ok = Save(comm, folder, QStringLiteral("communication-settings.png")) && ok;
    comm.hide();

    CAboutDlg about(app.MainFrame());
    ok = Save(about, folder, QStringLiteral("about.png")) && ok;
    about.hide();

    app.Document().SetModifiedFlag(false);
    return ok ? 0 : 1;
}
