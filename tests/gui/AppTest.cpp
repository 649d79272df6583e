// The program as a whole: first start, the command line, the File menu with its recent files and
// unsaved-changes prompt, and the keyboard around the form.
#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "app/SignPreview.h"
#include "app/TickerluxApp.h"
#include "app/TickerluxView.h"
#include "app/dialogs/CommSettingsDlg.h"
#include "settings/UserSettings.h"
#include "tests/gui/GuiTest.h"
#include "tests/support/NonRegularFiles.h"
#include "tests/support/TestPty.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionToolBar>
#include <QToolBar>

#include <filesystem>
#include <memory>

using namespace tickerlux;
using namespace tickerlux::base;
using namespace tickerlux::settings;
using namespace tickerlux::headlines;
using namespace tickerlux::link;
using namespace tickerlux::engine;
using namespace tickerlux::app;
using namespace tickerlux::leds;
using namespace tickerlux::test;

namespace {

void StoreConnection()
{
    CommSettings stored = Comm("alpha", "serial port - betabrite classic", 1, 9600, 7, "even", 1);
    QVERIFY(StoreComm(stored));
}

QLineEdit* Edit(CTickerluxApp& app, int id)
{
    return app.MainFrame()->View()->findChild<QLineEdit*>(QString::number(id));
}

// A settings file written through a document.
QString WriteFeed(const CTempDir& dir, const char* name, const std::function<void(CTickerluxDoc&)>& fill)
{
    CTickerluxDoc doc;
    fill(doc);
    const std::string path = dir.File(name);
    if (doc.OnSaveDocument(path).Failed())
        qFatal("cannot write %s", path.c_str());
    return QString::fromStdString(path);
}

// Starts the program with a stored connection and answers file dialogs with `next`.
struct Program {
    CScopedConfigHome home;
    CTempDir files;
    std::unique_ptr<CTickerluxApp> app;
    QString next;  // the name the next file dialog returns
    QList<CTickerluxApp::FileDialogKind> asked;
    QStringList suggested;

    explicit Program(const QStringList& arguments = {"tickerlux"}, bool storeConnection = true)
    {
        if (storeConnection)
            StoreConnection();
        Start(arguments);
    }

    bool Start(const QStringList& arguments)
    {
        app = std::make_unique<CTickerluxApp>();
        app->SetFileNamePrompt([this](CTickerluxApp::FileDialogKind kind, const QString& name) {
            asked.append(kind);
            suggested.append(name);
            return next;
        });
        return app->InitInstance(arguments);
    }

    CTickerluxDoc& Doc() { return app->Document(); }
    CMainFrame& Frame() { return *app->MainFrame(); }

    // Presses a key combination with the focus where it is, as the user would.
    void Press(QWidget* focus, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
    {
        QApplication::setActiveWindow(&Frame());
        focus->setFocus();
        QTest::keyClick(focus, key, modifiers);
    }
};

// Presses the mouse on the toolbar's gripper, drags it to the middle of one edge of the form and
// lets go there, as the user docks it.
void DragToolBar(CMainFrame& frame, QToolBar* bar, Qt::ToolBarArea side)
{
    QApplication::setActiveWindow(&frame);
    QStyleOptionToolBar option;
    option.initFrom(bar);
    option.features = QStyleOptionToolBar::Movable;
    option.state |= bar->orientation() == Qt::Horizontal ? QStyle::State_Horizontal : QStyle::State_None;
    const QRect gripper = bar->style()->subElementRect(QStyle::SE_ToolBarHandle, &option, bar);
    QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, gripper.center());

    const QRect inside = frame.View()->geometry();  // each dock area borders the form
    QPoint drop;
    switch (side) {
    case Qt::LeftToolBarArea: drop = QPoint(inside.left() + 2, inside.center().y()); break;
    case Qt::RightToolBarArea: drop = QPoint(inside.right() - 2, inside.center().y()); break;
    case Qt::BottomToolBarArea: drop = QPoint(inside.center().x(), inside.bottom() - 2); break;
    default: drop = QPoint(inside.center().x(), inside.top() + 2); break;
    }
    const QPoint start = bar->mapToGlobal(gripper.center());
    const QPoint end = frame.mapToGlobal(drop);
    constexpr int kSteps = 8;
    for (int step = 1; step <= kSteps; ++step) {
        const QPoint at = start + (end - start) * step / kSteps;
        QTest::mouseMove(bar, bar->mapFromGlobal(at));
    }
    QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, bar->mapFromGlobal(end));
    // It slides into place; then the window fits the form around it.
    QTRY_VERIFY(!bar->isFloating());
    QCoreApplication::processEvents();
}

} // namespace

class AppTest : public QObject {
    Q_OBJECT

private slots:
    void firstStartShowsTheWindowThenTheDialog()
    {
        CScopedConfigHome home;
        CTickerluxApp app;
        bool windowShown = false;
        CModalWatcher watcher([&](QDialog* dialog) {
            windowShown = app.MainFrame() && app.MainFrame()->isVisible();
            dialog->reject();
        });
        QVERIFY(app.InitInstance({"tickerlux"}));
        QCOMPARE(watcher.shown, QStringList{"tickerlux::app::CCommSettingsDlg"});
        QCOMPARE(watcher.captions, QStringList{"Communication Settings..."});
        QVERIFY(windowShown);
        const CTickerluxDoc& doc = app.Document();
        QCOMPARE(doc.Comm.ConnectionText(), std::string());
        QCOMPARE(doc.Comm.ComPort, 1);
        QCOMPARE(doc.Comm.BaudRate, 9600);
        QCOMPARE(doc.Comm.ByteSize, 7);
        QCOMPARE(doc.Comm.Parity, Parity::Even);
        QCOMPARE(doc.Comm.StopBits, StopBits::One);
    }

    void storedConnectionWithoutPortGivesPort1()
    {
        CScopedConfigHome home;
        const std::string kind = "serial port - custom settings";
        QVERIFY(MakeUserStoreFolder().kind == base::FailureKind::None);
        WriteFileBytes(home.StoreFile(), "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Orvane\\Newsglow]\n"
                                         "\"Connection\"=\"" + kind + "\"\n");
        CTickerluxApp app;
        app.Document().Comm.ComPort = 7;
        CModalWatcher watcher(CModalWatcher::Press(QMessageBox::Ok));
        QVERIFY(app.InitInstance({"tickerlux"}));
        QVERIFY(watcher.shown.isEmpty());
        QCOMPARE(app.Document().Comm.ConnectionText(), kind);
        QCOMPARE(app.Document().Comm.ComPort, 1);
    }

    void fileOnTheCommandLineOpensWithItsTimer()
    {
        CTempDir dir;
        const QString feed = WriteFeed(dir, "world.tlx", [](CTickerluxDoc& doc) {
            doc.WebServer = "news.example.org";
            doc.AutoUpdate = 1;
            doc.UpdateMinutes = "30";
        });
        Program program({"tickerlux", feed});
        QCOMPARE(program.Frame().windowTitle(), QString("Newsglow - world.tlx"));
        QCOMPARE(Edit(*program.app, 1001)->text(), QString("news.example.org"));
        CTickerluxView* view = program.Frame().View();
        QVERIFY(view->IsUpdateTimerRunning());
        QCOMPARE(view->UpdateTimerPeriod(), std::chrono::milliseconds(30 * 60000));
        QVERIFY(!program.Doc().IsModified());
    }

    void unreadableFileOnTheCommandLineEndsTheProgram_data()
    {
        QTest::addColumn<bool>("fifo");
        QTest::newRow("missing") << false;
        // A pipe nobody writes to: refused at once rather than waited on.
        QTest::newRow("fifo") << true;
    }

    void unreadableFileOnTheCommandLineEndsTheProgram()
    {
        QFETCH(bool, fifo);
        CScopedConfigHome home;
        StoreConnection();
        const std::string path = fifo ? home.Path() + "/feed.tlx" : "/nonexistent/feed.tlx";
        if (fifo)
            MakeNonRegularFile(NonRegularFile::Fifo, path);
        CTickerluxApp app;
        CModalWatcher watcher(CModalWatcher::Press(QMessageBox::Ok));
        QVERIFY(!app.InitInstance({"tickerlux", QString::fromStdString(path)}));
        QCOMPARE(watcher.shown.size(), 1);
        QVERIFY(watcher.shown.first().contains(QString::fromStdString(path)));
        QCOMPARE(watcher.captions, QStringList{"Newsglow"});
    }

    // The menu's Ctrl+S, Ctrl+N and Ctrl+O act while an edit box has the focus.
    void saveNewOpenRoundTripFromTheKeyboard()
    {
        Program program;
        QCOMPARE(program.Frame().windowTitle(), QString("Newsglow - Untitled"));
        TypeInto(Edit(*program.app, 1001), "news.example.org");
        TypeInto(Edit(*program.app, 1011), QString::fromUtf8("Caf\u00e9"));

        program.next = QString::fromStdString(program.files.File("feed.tlx"));
        program.Press(Edit(*program.app, 1011), Qt::Key_S);
        QCOMPARE(program.asked, QList{CTickerluxApp::FileDialogKind::SaveAs});
        QCOMPARE(program.suggested, QStringList{"Untitled"});
        QVERIFY(QFile::exists(program.next));
        QVERIFY(!program.Doc().IsModified());
        QCOMPARE(program.Frame().windowTitle(), QString("Newsglow - feed.tlx"));

        program.Press(Edit(*program.app, 1001), Qt::Key_N);
        QCOMPARE(Edit(*program.app, 1001)->text(), QString());
        QCOMPARE(program.Frame().windowTitle(), QString("Newsglow - Untitled"));

        program.Press(Edit(*program.app, 1002), Qt::Key_O);
        QCOMPARE(program.asked.last(), CTickerluxApp::FileDialogKind::Open);
        QCOMPARE(Edit(*program.app, 1001)->text(), QString("news.example.org"));
        QCOMPARE(program.Doc().LeadingComment, std::string("Caf\xe9"));
        QCOMPARE(Edit(*program.app, 1011)->text(), QString::fromUtf8("Caf\u00e9"));
        QCOMPARE(program.Frame().windowTitle(), QString("Newsglow - feed.tlx"));
        QVERIFY(!program.Doc().IsModified());

        // Save on a named document asks for no name.
        TypeInto(Edit(*program.app, 1002), "/news");
        program.Press(Edit(*program.app, 1002), Qt::Key_S);
        QCOMPARE(program.asked.size(), 2);
        QVERIFY(!program.Doc().IsModified());
    }

    // Inside an edit box the clipboard keys are the box's own, and a paste is a change.
    void clipboardKeysStayWithTheEditBox()
    {
        Program program;
        QLineEdit* server = Edit(*program.app, 1001);
        TypeInto(server, "feeds.example.org");
        program.Press(server, Qt::Key_A);
        program.Press(server, Qt::Key_C);
        QCOMPARE(QApplication::clipboard()->text(), QString("feeds.example.org"));
        program.Doc().SetModifiedFlag(false);
        program.Press(Edit(*program.app, 1009), Qt::Key_V);
        QCOMPARE(program.Doc().TextBefore, std::string("feeds.example.org"));
        QVERIFY(program.Doc().IsModified());
    }

    void recentFilesKeepTheLastFour()
    {
        Program program;
        const char* names[] = {"a.tlx", "b.tlx", "c.tlx", "d.tlx", "e.tlx"};
        for (const char* name : names) {
            program.next = QString::fromStdString(program.files.File(name));
            QVERIFY(program.app->OnFileSaveAs());
        }
        auto listed = [&](const CTickerluxApp& app) {
            QStringList shown;
            for (const std::string& path : app.RecentFiles().Files())
                shown << QString::fromStdString(std::filesystem::path(path).filename().string());
            return shown;
        };
        QCOMPARE(listed(*program.app), (QStringList{"e.tlx", "d.tlx", "c.tlx", "b.tlx"}));
        const QList<QAction*> entries = program.Frame().RecentFileActions();
        QCOMPARE(entries.size(), 4);
        QVERIFY(entries.first()->text().startsWith("&1 "));
        QVERIFY(entries.first()->text().endsWith("e.tlx"));
        QCOMPARE(entries.first()->statusTip(), QString("Open this document"));

        // Opening an entry puts it first; the next run shows the same list.
        entries.at(3)->trigger();
        QCOMPARE(program.Frame().windowTitle(), QString("Newsglow - b.tlx"));
        QCOMPARE(listed(*program.app), (QStringList{"b.tlx", "e.tlx", "d.tlx", "c.tlx"}));
        CTickerluxApp next;
        QVERIFY(next.InitInstance({"tickerlux"}));
        QCOMPARE(listed(next), (QStringList{"b.tlx", "e.tlx", "d.tlx", "c.tlx"}));

        // An entry whose file is gone says so once and leaves the list.
        QVERIFY(QFile::remove(QString::fromStdString(program.files.File("d.tlx"))));
        CModalWatcher watcher(CModalWatcher::Press(QMessageBox::Ok));
        program.Frame().RecentFileActions().at(2)->trigger();
        QCOMPARE(watcher.shown.size(), 1);
        QCOMPARE(listed(*program.app), (QStringList{"b.tlx", "e.tlx", "c.tlx"}));
        QCOMPARE(program.Frame().RecentFileActions().size(), 3);
    }

    // Saving first reorders the list; the entry that failed is still the one that leaves.
    void goneRecentFileLeavesAfterSavingTheChanges()
    {
        Program program;
        for (const char* name : {"a.tlx", "b.tlx", "c.tlx"}) {
            program.next = QString::fromStdString(program.files.File(name));
            QVERIFY(program.app->OnFileSaveAs());
        }
        QVERIFY(QFile::remove(QString::fromStdString(program.files.File("b.tlx"))));
        program.app->OnFileNew();
        TypeInto(Edit(*program.app, 1001), "news.example.org");

        // Yes saves the new feed as d.tlx, which goes first; then b.tlx fails to open.
        program.next = QString::fromStdString(program.files.File("d.tlx"));
        CModalWatcher watcher(CModalWatcher::Press(QMessageBox::Yes));
        program.Frame().RecentFileActions().at(1)->trigger();
        QCOMPARE(watcher.shown.size(), 2);
        QCOMPARE(watcher.shown.first(), QString("Save changes to Untitled?"));
        QStringList listed;
        for (const std::string& path : program.app->RecentFiles().Files())
            listed << QString::fromStdString(std::filesystem::path(path).filename().string());
        QCOMPARE(listed, (QStringList{"d.tlx", "c.tlx", "a.tlx"}));
        QCOMPARE(program.Frame().RecentFileActions().size(), 3);
    }

    void unsavedChangesPrompt_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("replaced");
        QTest::addColumn<bool>("saved");
        QTest::newRow("cancel keeps the document") << int(QMessageBox::Cancel) << false << false;
        QTest::newRow("no drops the changes") << int(QMessageBox::No) << true << false;
        QTest::newRow("yes saves first") << int(QMessageBox::Yes) << true << true;
    }

    void unsavedChangesPrompt()
    {
        QFETCH(int, answer);
        QFETCH(bool, replaced);
        QFETCH(bool, saved);
        Program program;
        program.next = QString::fromStdString(program.files.File("kept.tlx"));
        TypeInto(Edit(*program.app, 1001), "news.example.org");

        CModalWatcher watcher(CModalWatcher::Press(QMessageBox::StandardButton(answer)));
        program.app->OnFileNew();
        QCOMPARE(watcher.shown, QStringList{"Save changes to Untitled?"});
        QCOMPARE(watcher.captions, QStringList{"Newsglow"});
        QCOMPARE(program.Doc().WebServer.empty(), replaced);
        QCOMPARE(Edit(*program.app, 1001)->text().isEmpty(), replaced);
        QCOMPARE(program.Doc().IsModified(), !replaced);
        QCOMPARE(QFile::exists(program.next), saved);

        // Closing the window asks the same way.
        TypeInto(Edit(*program.app, 1002), "/x");
        QCOMPARE(program.Frame().close(), replaced);
    }

    void openFailureKeepsTheDocument()
    {
        Program program;
        TypeInto(Edit(*program.app, 1001), "news.example.org");
        program.Doc().SetModifiedFlag(false);
        program.next = QString::fromStdString(program.files.File("missing.tlx"));
        CModalWatcher watcher(CModalWatcher::Press(QMessageBox::Ok));
        program.app->OnFileOpen();
        QCOMPARE(watcher.shown.size(), 1);
        QCOMPARE(program.Doc().WebServer, std::string("news.example.org"));
        QCOMPARE(program.Frame().windowTitle(), QString("Newsglow - Untitled"));
    }

    // Open and Save run under the wait cursor; a failure is shown with the cursor back to normal.
    void openAndSaveShowTheWaitCursor()
    {
        Program program;
        program.next = QString::fromStdString(program.files.File("feed.tlx"));
        QVERIFY(program.app->OnFileSaveAs());

        // Loading tells the observers of the document: the cursor they see is the one shown.
        struct CursorProbe : IDocumentObserver {
            QList<int> seen;
            void OnDocumentUpdate(IDocumentObserver*, long) override
            {
                const QCursor* cursor = QApplication::overrideCursor();
                seen << (cursor ? int(cursor->shape()) : -1);
            }
        } probe;
        program.Doc().AddObserver(&probe);
        program.app->OnFileOpen();
        program.Doc().RemoveObserver(&probe);
        QVERIFY(!probe.seen.isEmpty());
        QCOMPARE(probe.seen.first(), int(Qt::WaitCursor));
        QCOMPARE(QApplication::overrideCursor(), nullptr);

        QList<const QCursor*> overMessage;
        CModalWatcher watcher([&overMessage](QDialog* dialog) {
            overMessage << QApplication::overrideCursor();
            dialog->accept();
        });
        program.next = QString::fromStdString(program.files.File("no-such-folder/feed.tlx"));
        QVERIFY(!program.app->OnFileSaveAs());
        QVERIFY(!program.app->OpenDocumentFile(program.next));
        QCOMPARE(overMessage, (QList<const QCursor*>{nullptr, nullptr}));
    }

    // Every menu entry in order as "text<TAB>keys", with its status prompt and tool tip.
    void menusAndPrompts()
    {
        Program program;
        QStringList shown;
        for (const QAction* menu : program.Frame().menuBar()->actions()) {
            shown << menu->text();
            for (const QAction* item : menu->menu()->actions()) {
                if (item->isSeparator()) {
                    shown << "  -";
                    continue;
                }
                QString line = "  " + item->text();
                if (!item->shortcut().isEmpty())
                    line += "\t" + item->shortcut().toString();
                if (!item->statusTip().isEmpty())
                    line += " | " + item->statusTip() + " | " + item->toolTip();
                shown << line;
            }
        }
        const QStringList expected{
            "&File",
            "  &New\tCtrl+N | Create a new document | New",
            "  &Open...\tCtrl+O | Open an existing document | Open",
            "  &Save\tCtrl+S | Save the active document | Save",
            "  Save &As... | Save the active document with a new name | Save As",
            "  -",
            "  Recent File",
            "  -",
            "  E&xit | Quit the application; prompts to save documents | Exit",
            "&View",
            "  &Toolbar | Show or hide the toolbar | Toggle ToolBar",
            "  &Status Bar | Show or hide the status bar | Toggle StatusBar",
            "  Sign &Preview | Show or hide the sign line as the sign shows it | Toggle Sign Preview",
            "  -",
            "  S&top\tEsc | Stop the update under way | Stop",
            "&Options",
            "  Communication &Settings",
            "  Clean &Up Headlines | Read pages in their own charset and clean headlines of markup "
            "and entities | Clean Up Headlines",
            "&Help",
            "  &About Newsglow... | Display program information, version number and copyright | About",
        };
        QCOMPARE(shown, expected);

        QStringList buttons;
        for (const QAction* button : program.Frame().findChild<QToolBar*>("59392")->actions())
            buttons << (button->isSeparator() ? "-" : button->objectName());
        QCOMPARE(buttons, (QStringList{"57600", "57601", "57603", "-", "57664"}));
    }

    void toolbarDocksOnEverySide_data()
    {
        QTest::addColumn<int>("side");
        QTest::newRow("left") << int(Qt::LeftToolBarArea);
        QTest::newRow("bottom") << int(Qt::BottomToolBarArea);
        QTest::newRow("right") << int(Qt::RightToolBarArea);
        QTest::newRow("back to the top") << int(Qt::TopToolBarArea);
    }

    // Dragged by its gripper, the toolbar docks on the side it is dropped at, and the window
    // keeps fitting the whole form.
    void toolbarDocksOnEverySide()
    {
        QFETCH(int, side);
        Program program;
        CMainFrame& frame = program.Frame();
        auto* bar = frame.findChild<QToolBar*>("59392");
        QCOMPARE(frame.toolBarArea(bar), Qt::TopToolBarArea);
        if (side != Qt::TopToolBarArea)
            DragToolBar(frame, bar, Qt::ToolBarArea(side));
        else {
            DragToolBar(frame, bar, Qt::LeftToolBarArea);
            DragToolBar(frame, bar, Qt::TopToolBarArea);
        }
        QCOMPARE(int(frame.toolBarArea(bar)), side);
        QCOMPARE(bar->orientation(), side == Qt::LeftToolBarArea || side == Qt::RightToolBarArea
                                         ? Qt::Vertical
                                         : Qt::Horizontal);
        QCOMPARE(frame.View()->size(), frame.View()->minimumSize());
        const QRect form = frame.View()->geometry();
        QVERIFY(form.intersected(bar->geometry()).isEmpty());
        QVERIFY(frame.statusBar()->geometry().intersected(bar->geometry()).isEmpty());
    }

    void frameCommandsAndPrompts()
    {
        Program program;
        CMainFrame& frame = program.Frame();
        QCOMPARE(frame.statusBar()->currentMessage(), QString("Ready"));
        QCOMPARE(frame.minimumSize(), frame.maximumSize());  // not resizable
        QVERIFY(!(frame.windowFlags() & Qt::WindowMaximizeButtonHint));

        // Options > Communication Settings opens the dialog over the window.
        {
            CModalWatcher watcher([](QDialog* dialog) { dialog->reject(); });
            frame.Action(ids::kCommunicationSettings)->trigger();
            QCOMPARE(watcher.shown, QStringList{"tickerlux::app::CCommSettingsDlg"});
        }

        // Options > Clean Up Headlines is on by default and its tick is kept for the user.
        QAction* cleanup = frame.Action(ids::kHeadlineCleanup);
        QVERIFY(cleanup->isChecked());
        cleanup->trigger();
        QVERIFY(!frame.View()->HeadlineCleanup());
        QVERIFY(!LoadUserSettings().settings.HeadlineCleanup);

        // Hiding the toolbar shrinks the window around the form.
        const int height = frame.height();
        frame.Action(ids::kViewToolbar)->trigger();
        QVERIFY(frame.height() < height);
        QCOMPARE(frame.View()->size(), frame.View()->minimumSize());
    }

    // View > Sign Preview draws the line of the last update as the sign shows it, with the
    // form's colour and condensed choice as the user changes them; it sends nothing itself.
    void signPreviewFollowsUpdatesAndTheForm()
    {
        Program program;
        CMainFrame& frame = program.Frame();
        CSignPreview* preview = frame.SignPreview();
        QAction* toggle = frame.Action(ids::kViewSignPreview);
        QVERIFY(!preview->isVisible());
        toggle->trigger();
        QVERIFY(preview->isVisible());
        QCOMPARE(preview->Display().Text().text, std::string());

        // A terminal stands for the sign on COM1.
        CTestPty sign;
        sign.MapAs(1);
        JobRequest request = RequestFrom(program.Doc(), JobCommand::SendLine);
        request.line = "Caf&#233;\tnews";
        QVERIFY(frame.View()->StartJob(request));
        QTRY_VERIFY(!frame.View()->IsJobRunning());
        const std::size_t sent = sign.Pending();
        // As the sign decodes it: the reference is a character, the tab is dropped; red rotates.
        QCOMPARE(preview->Display().Text(), (leds::LedText{"Caf\xE9news", '1', false, true}));

        QApplication::setActiveWindow(&frame);
        auto* color = frame.View()->findChild<QComboBox*>("1013");
        color->setFocus();
        QTest::keyClick(color, Qt::Key_Up);   // Red to Rainbow 2
        QCOMPARE(preview->Display().Text().colorCode, 'A');
        auto* condensed = frame.View()->findChild<QCheckBox*>("1014");
        condensed->setFocus();
        QTest::keyClick(condensed, Qt::Key_Space);
        QVERIFY(preview->Display().Text().condensed);
        QCOMPARE(preview->Display().Text().text, std::string("Caf\xE9news"));
        QCOMPARE(sign.Pending(), sent);

        // Closed by its own title bar, it takes the menu's tick with it.
        preview->close();
        QVERIFY(!toggle->isChecked());
    }
};

TICKERLUX_GUI_TEST_MAIN(AppTest)
#include "AppTest.moc"
