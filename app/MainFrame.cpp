#include "app/MainFrame.h"

#include "app/CommandIds.h"
#include "app/LockKeys.h"
#include "app/SignPreview.h"
#include "app/TickerluxApp.h"
#include "app/TickerluxView.h"
#include "settings/ProductName.h"
#include "settings/TickerluxDoc.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFontMetrics>
#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace tickerlux::app {

namespace {

constexpr const char* kReady = "Ready";
constexpr int kIndicatorPollMs = 250;
// How long a job's outcome stays in the status bar before "Ready" comes back.
constexpr int kOutcomeShownMs = 5000;
constexpr int kJobProgressWidth = 120;

// A prompt is "status text\ntool tip", as the command strings of the resource set hold them.
void SetPrompt(QAction* action, const QString& prompt)
{
    const qsizetype newline = prompt.indexOf(u'\n');
    action->setStatusTip(prompt.left(newline));
    if (newline >= 0)
        action->setToolTip(prompt.mid(newline + 1));
}

} // namespace

CMainFrame::CMainFrame(CTickerluxApp& app, settings::CTickerluxDoc& doc,
                       const settings::UserSettings& stored)
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                               Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_app(app), m_doc(doc)
{
    setWindowIcon(QIcon(QStringLiteral(":/res/app-icon.xpm")));
    m_view = new CTickerluxView(doc, stored, this);
    setCentralWidget(m_view);
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    CreateJobStatus();
    CreateSignPreview();
    UpdateTitle();
    RecalcLayout();
}

QAction* CMainFrame::AddAction(int id, const QString& text, const QString& prompt, QMenu* menu)
{
    auto* action = new QAction(text, this);
    action->setObjectName(QString::number(id));
    if (!prompt.isEmpty())
        SetPrompt(action, prompt);
    menu->addAction(action);
    m_actions.insert(id, action);
    return action;
}

void CMainFrame::CreateMenus()
{
    m_fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    QAction* fileNew = AddAction(ids::kFileNew, QStringLiteral("&New"),
                                 QStringLiteral("Create a new document\nNew"), m_fileMenu);
    fileNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    fileNew->setIcon(QIcon(QStringLiteral(":/res/toolbar-new.xpm")));
    connect(fileNew, &QAction::triggered, this, [this] { m_app.OnFileNew(); });

    QAction* fileOpen = AddAction(ids::kFileOpen, QStringLiteral("&Open..."),
                                  QStringLiteral("Open an existing document\nOpen"), m_fileMenu);
    fileOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    fileOpen->setIcon(QIcon(QStringLiteral(":/res/toolbar-open.xpm")));
    connect(fileOpen, &QAction::triggered, this, [this] { m_app.OnFileOpen(); });

    QAction* fileSave = AddAction(ids::kFileSave, QStringLiteral("&Save"),
                                  QStringLiteral("Save the active document\nSave"), m_fileMenu);
    fileSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    fileSave->setIcon(QIcon(QStringLiteral(":/res/toolbar-save.xpm")));
    connect(fileSave, &QAction::triggered, this, [this] { m_app.OnFileSave(); });

    QAction* fileSaveAs =
        AddAction(ids::kFileSaveAs, QStringLiteral("Save &As..."),
                  QStringLiteral("Save the active document with a new name\nSave As"), m_fileMenu);
    connect(fileSaveAs, &QAction::triggered, this, [this] { m_app.OnFileSaveAs(); });

    m_fileMenu->addSeparator();
    m_recentPlaceholder = m_fileMenu->addAction(QStringLiteral("Recent File"));
    m_recentPlaceholder->setEnabled(false);
    m_fileMenu->addSeparator();
    QAction* exit = AddAction(ids::kAppExit, QStringLiteral("E&xit"),
                              QStringLiteral("Quit the application; prompts to save documents\nExit"),
                              m_fileMenu);
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMenu* viewMenu = menuBar()->addMenu(QStringLiteral("&View"));
    QAction* toolbar = AddAction(ids::kViewToolbar, QStringLiteral("&Toolbar"),
                                 QStringLiteral("Show or hide the toolbar\nToggle ToolBar"), viewMenu);
    toolbar->setCheckable(true);
    toolbar->setChecked(true);
    QAction* statusBarToggle =
        AddAction(ids::kViewStatusBar, QStringLiteral("&Status Bar"),
                  QStringLiteral("Show or hide the status bar\nToggle StatusBar"), viewMenu);
    statusBarToggle->setCheckable(true);
    statusBarToggle->setChecked(true);
    connect(toolbar, &QAction::toggled, this, [this](bool on) {
        m_toolBar->setVisible(on);
        RecalcLayout();
    });
    connect(statusBarToggle, &QAction::toggled, this, [this](bool on) {
        statusBar()->setVisible(on);
        RecalcLayout();
    });
    QAction* preview = AddAction(
        ids::kViewSignPreview, QStringLiteral("Sign &Preview"),
        QStringLiteral("Show or hide the sign line as the sign shows it\nToggle Sign Preview"),
        viewMenu);
    preview->setCheckable(true);
    viewMenu->addSeparator();
    // Esc acts only while a job runs, as the action is enabled only then.
    QAction* stop = AddAction(ids::kStop, QStringLiteral("S&top"),
                              QStringLiteral("Stop the update under way\nStop"), viewMenu);
    stop->setShortcut(QKeySequence(Qt::Key_Escape));
    stop->setEnabled(false);
    connect(stop, &QAction::triggered, this, [this] { m_view->StopJob(); });

    QMenu* optionsMenu = menuBar()->addMenu(QStringLiteral("&Options"));
    QAction* comm = AddAction(ids::kCommunicationSettings, QStringLiteral("Communication &Settings"),
                              QString(), optionsMenu);
    connect(comm, &QAction::triggered, this, [this] { m_view->OnCommunicationSettings(); });
    QAction* cleanup =
        AddAction(ids::kHeadlineCleanup, QStringLiteral("Clean &Up Headlines"),
                  QStringLiteral("Read pages in their own charset and clean headlines of markup "
                                 "and entities\nClean Up Headlines"),
                  optionsMenu);
    cleanup->setCheckable(true);
    cleanup->setChecked(m_view->HeadlineCleanup());
    connect(cleanup, &QAction::toggled, this, [this](bool on) { m_view->OnHeadlineCleanup(on); });

    QMenu* helpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
    QAction* about = AddAction(ids::kAppAbout, QStringLiteral("&About %1...").arg(QString::fromLatin1(settings::kProductName)),
                               QStringLiteral("Display program information, version number and "
                                              "copyright\nAbout"),
                               helpMenu);
    about->setIcon(QIcon(QStringLiteral(":/res/toolbar-about.xpm")));
    connect(about, &QAction::triggered, this, [this] { m_app.OnAppAbout(); });
}

void CMainFrame::CreateToolBar()
{
    m_toolBar = addToolBar(QStringLiteral("Toolbar"));  // docked at the top
    m_toolBar->setObjectName(QString::number(ids::kViewToolbar));
    m_toolBar->setIconSize(QSize(16, 15));
    // Dragged by its gripper, it docks on any side of the window; dropped elsewhere it goes
    // back. While it is dragged it floats, and the form gives way so that the window can show
    // where it would dock; once it has docked, the window fits the form again.
    m_toolBar->setMovable(true);
    m_toolBar->setFloatable(false);
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    connect(m_toolBar, &QToolBar::topLevelChanged, this, [this](bool floating) {
        if (floating)
            m_view->setMinimumSize(0, 0);
        else  // once the window's layout has finished placing it, which ignores a resize
            QMetaObject::invokeMethod(this, &CMainFrame::RecalcLayout, Qt::QueuedConnection);
    });
    m_toolBar->addAction(Action(ids::kFileNew));
    m_toolBar->addAction(Action(ids::kFileOpen));
    m_toolBar->addAction(Action(ids::kFileSave));
    m_toolBar->addSeparator();
    m_toolBar->addAction(Action(ids::kAppAbout));
    // Hiding it through its own context menu keeps the View menu's tick in step.
    connect(m_toolBar, &QToolBar::visibilityChanged, this, [this](bool visible) {
        if (!isVisible())
            return;
        Action(ids::kViewToolbar)->setChecked(visible);
    });
}

void CMainFrame::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setSizeGripEnabled(false);  // the window has a fixed size
    bar->setObjectName(QString::number(ids::kViewStatusBar));
    // The message pane falls back to the idle text whenever a prompt goes away.
    m_idleText = QString::fromLatin1(kReady);
    connect(bar, &QStatusBar::messageChanged, this, [this, bar](const QString& message) {
        if (message.isEmpty())
            bar->showMessage(m_idleText);
    });
    bar->showMessage(m_idleText);

    const QFontMetrics metrics(bar->font());
    const std::pair<int, const char*> panes[] = {
        {ids::kIndicatorCaps, "CAP"}, {ids::kIndicatorNum, "NUM"}, {ids::kIndicatorScrl, "SCRL"}};
    for (const auto& [id, text] : panes) {
        auto* pane = new QLabel(this);
        pane->setObjectName(QString::number(id));
        pane->setAlignment(Qt::AlignCenter);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane->setMinimumWidth(metrics.horizontalAdvance(QString::fromLatin1(text)) + 8);
        pane->setProperty("indicatorText", QString::fromLatin1(text));
        bar->addPermanentWidget(pane);
        m_indicators.insert(id, pane);
    }
    UpdateIndicators();
    auto* poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, &CMainFrame::UpdateIndicators);
    poll->start(kIndicatorPollMs);
}

void CMainFrame::CreateJobStatus()
{
    // No taller than the indicator panes, so that the bar, and with it the form, stays put.
    const int height = m_indicators.first()->sizeHint().height();
    m_progressBar = new QProgressBar(this);
    m_progressBar->setTextVisible(false);  // the message pane says it in words
    m_progressBar->setFixedSize(kJobProgressWidth, height);
    m_stopButton = new QToolButton(this);
    m_stopButton->setObjectName(QString::number(ids::kStop));
    m_stopButton->setDefaultAction(Action(ids::kStop));
    m_stopButton->setMaximumHeight(height);
    statusBar()->insertPermanentWidget(0, m_progressBar);
    statusBar()->insertPermanentWidget(1, m_stopButton);
    m_progressBar->hide();
    m_stopButton->hide();
    connect(m_view, &CTickerluxView::JobStatusChanged, this, &CMainFrame::ShowJobStatus);
    connect(m_view, &CTickerluxView::JobEnded, this, &CMainFrame::ShowJobEnded);
}

void CMainFrame::ShowJobStatus(const QString& stage, int percent)
{
    Action(ids::kStop)->setEnabled(true);
    m_progressBar->show();
    m_stopButton->show();
    if (percent < 0) {
        m_progressBar->setRange(0, 0);  // moving to and fro: no known end
    } else {
        m_progressBar->setRange(0, 100);
        m_progressBar->setValue(percent);
    }
    m_idleText = stage;
    statusBar()->showMessage(stage);
}

void CMainFrame::ShowJobEnded(const QString& outcome)
{
    Action(ids::kStop)->setEnabled(false);
    m_progressBar->hide();
    m_stopButton->hide();
    m_idleText = QString::fromLatin1(kReady);
    statusBar()->showMessage(outcome, kOutcomeShownMs);
}

void CMainFrame::CreateSignPreview()
{
    m_signPreview = new CSignPreview(this);
    QAction* toggle = Action(ids::kViewSignPreview);
    connect(toggle, &QAction::toggled, m_signPreview, &QWidget::setVisible);
    // Closed by its own title bar, the window takes the menu's tick with it.
    connect(m_signPreview, &CSignPreview::VisibilityChanged, toggle, &QAction::setChecked);
    connect(m_view, &CTickerluxView::SignLineChanged, this, &CMainFrame::UpdateSignPreview);
    UpdateSignPreview();
}

void CMainFrame::UpdateSignPreview()
{
    m_signPreview->ShowLine(m_view->SignLine(), m_doc.ColorIndex, m_doc.Condensed != 0);
}

void CMainFrame::UpdateIndicators()
{
    const std::optional<LockKeyState> state = QueryLockKeys();
    const bool on[] = {state && state->capsLock, state && state->numLock, state && state->scrollLock};
    const int panes[] = {ids::kIndicatorCaps, ids::kIndicatorNum, ids::kIndicatorScrl};
    for (std::size_t i = 0; i < std::size(panes); ++i) {
        QLabel* pane = m_indicators.value(panes[i]);
        pane->setText(on[i] ? pane->property("indicatorText").toString() : QString());
    }
}

QString CMainFrame::IndicatorText(int id) const
{
    const QLabel* pane = m_indicators.value(id, nullptr);
    return pane ? pane->text() : QString();
}

void CMainFrame::UpdateTitle()
{
    setWindowTitle(QString::fromLatin1(settings::kProductName) + QStringLiteral(" - ") +
                   QString::fromStdString(m_doc.GetTitle()));
}

void CMainFrame::SetRecentFiles(const std::vector<std::string>& paths)
{
    for (QAction* action : m_recentActions) {
        m_fileMenu->removeAction(action);
        delete action;
    }
    m_recentActions.clear();
    m_recentPlaceholder->setVisible(paths.empty());

    int index = 0;
    for (const std::string& path : paths) {
        QString shown = QDir::toNativeSeparators(QString::fromStdString(path));
        shown = QFontMetrics(m_fileMenu->font()).elidedText(shown, Qt::ElideMiddle, 300);
        shown.replace(u'&', QStringLiteral("&&"));
        auto* action = new QAction(QStringLiteral("&%1 %2").arg(index + 1).arg(shown), this);
        action->setObjectName(QString::number(ids::kFileMruFirst + index));
        action->setStatusTip(QStringLiteral("Open this document"));
        connect(action, &QAction::triggered, this, [this, index] { m_app.OnOpenRecentFile(index); });
        m_fileMenu->insertAction(m_recentPlaceholder, action);
        m_recentActions.append(action);
        ++index;
    }
}

void CMainFrame::RecalcLayout()
{
    // Toolbar and status bar take their share around the form; the user cannot resize.
    m_view->setMinimumSize(m_view->maximumSize());
    QLayout* frameLayout = layout();
    frameLayout->activate();
    setFixedSize(sizeHint());
    // The bars take their places in the new size now, not when the window system reports it.
    frameLayout->invalidate();
    frameLayout->activate();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    // A job stops first, and the window closes once it has ended (the view closes it again);
    // closed once more meanwhile, the window cuts the delivery and goes at once.
    if (m_view->IsJobRunning()) {
        if (m_view->JobWaiting() != jobstatus::Waiting::Close) {
            m_view->StopJob(jobstatus::Waiting::Close);
            event->ignore();
            return;
        }
        m_view->AbandonJob();
    }
    if (m_app.SaveModified())
        event->accept();
    else
        event->ignore();
}

} // namespace tickerlux::app
