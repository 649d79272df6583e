#pragma once

#include "app/JobStatusText.h"
#include "app/WindowJobRunner.h"
#include "engine/JobRunner.h"
#include "settings/UserSettings.h"
#include "settings/TickerluxDoc.h"

#include <QTimer>
#include <QWidget>

#include <chrono>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tickerlux::app {

class CHyperlinkButton;

// The headline form: edits the feed settings of the document, shows the last downloaded page and
// runs the update commands, by hand and on the auto-update timer. Each command is a job of the
// engine's runner on a worker, which takes copies of the document's values; the outcome comes
// back to the window's thread and is applied here, so the window stays alive meanwhile and the
// document is only ever touched from this thread.
//
// Controls carry their ids as object names ("1001" is the web server edit box); the feed fields'
// ids and captions come from the field table. Member texts hold Windows-1252 bytes like the
// document; they become Unicode only inside the widgets.
class CTickerluxView : public QWidget, public settings::IDocumentObserver {
    Q_OBJECT
public:
    // `stored`: the per-user settings as the program read them at its start (the headline
    // cleanup switch, and the communication settings the first display takes).
    CTickerluxView(settings::CTickerluxDoc& doc, const settings::UserSettings& stored,
                   QWidget* parent = nullptr);
    ~CTickerluxView() override;

    settings::CTickerluxDoc& GetDocument() const { return m_doc; }
    // The sign line of the last update (Windows-1252), for the preview.
    const std::string& SignLine() const { return m_signLine; }
    bool HeadlineCleanup() const { return m_headlineCleanup; }

    // At the first display and after every File > New and File > Open.
    void OnInitialUpdate();

    // Options > Communication Settings: the dialog over the document's settings.
    void OnCommunicationSettings();
    // Options > Clean Up Headlines: the switch for the next update, kept in the per-user store.
    void OnHeadlineCleanup(bool on);

    // The validated interval (1 to 5000 minutes); rewrites an out-of-range text in the form and
    // the document.
    int GetUpdateMinutes();
    // Stops the auto-update timer, then starts it again when auto-update is on.
    void RestartUpdateTimer();

    bool IsUpdateTimerRunning() const { return m_timerId != 0; }
    std::chrono::milliseconds UpdateTimerPeriod() const;

    // IDocumentObserver: copies the document into the form.
    void OnDocumentUpdate(settings::IDocumentObserver* sender, long hint) override;

    // A message box with an OK button and the product name as caption (Windows-1252 text).
    void MessageBox(const std::string& text);
    // A failure of the per-user store, in a message box; its path is UTF-8 as it is.
    void ShowStoreFailure(const std::string& what, const base::Failure& failure);

    // Runs a tick of the auto-update timer; one that comes while a job runs is skipped.
    void OnTimer(int id);

    // Starts `request` as the window's one job; false, with nothing done, while a job runs or
    // its messages are shown. The job takes the headline cleanup switch of the window.
    bool StartJob(engine::JobRequest request);
    bool IsJobRunning() const { return m_jobRunning; }
    // Stops the job: a download is abandoned at once, a delivery finishes the command's
    // remaining transmissions. `why` Close also says so in the status bar, and closes the
    // window once the job has ended.
    void StopJob(jobstatus::Waiting why = jobstatus::Waiting::Stop);
    jobstatus::Waiting JobWaiting() const { return m_jobWaiting; }
    // Cuts a delivery at once (its output discarded), for a window that is closing: the
    // outcome is then dropped.
    void AbandonJob();

signals:
    // The sign line, or the colour or condensed choice it is shown with, may have changed.
    void SignLineChanged();
    // The running job's stage for the status bar, and its percentage (-1: no known end).
    void JobStatusChanged(const QString& stage, int percent);
    // The job has ended, with how it went; its message boxes follow.
    void JobEnded(const QString& outcome);

private:
    void CreateControls();
    void ConnectHandlers();

    // Moves values between the members and the controls: true reads the controls, false fills
    // them. Filling runs no change handler.
    void UpdateData(bool saveAndValidate);

    void OnUpdateSignNow();
    void OnClearSign();
    void OnUpdateSourceOnly();
    void OnClearSourceWindow();
    // AutoUpdate and UpdateMinutes also run the timer; every other field of the form has this
    // handler: it reads the form, copies the one field into the document and marks it modified.
    void OnAutoUpdate();
    void OnChangeUpdateMinutes();
    void OnChangeField(const settings::FeedField& field);

    void StartUpdateTimer(int minutes);
    // With auto-update on: the checked interval replaces the text as a plain number and runs.
    void StartAutoUpdate();
    void KillUpdateTimer();
    void LoadCommSettings();
    void ShowMessage(const QString& text);

    void OnJobProgress(const engine::JobProgress& progress);
    // The one place an outcome is applied, on the window's thread.
    void ApplyJobOutcome(const engine::JobOutcome& outcome);
    void ShowJobRunning(bool running);
    void ShowJobStatus();

    settings::CTickerluxDoc& m_doc;

    unsigned m_timerId = 0;
    QTimer m_updateTimer;

    CHyperlinkButton* m_linkShop = nullptr;
    CHyperlinkButton* m_linkOther = nullptr;
    CHyperlinkButton* m_linkHome = nullptr;

    // Data exchange members, as the controls last showed or took them.
    settings::FeedFieldValues m_form;
    std::string m_sourceText;

    // The controls of the feed fields that the form shows.
    struct BoundControl {
        const settings::FeedField* field;
        QWidget* control;
    };
    std::vector<BoundControl> m_bound;

    settings::CommSettings m_storedComm;  // as read at the program's start
    bool m_storedCommTaken = false;
    // Counts File > New and Open, so that a page comes back only to the feed it was read for.
    int m_documentOpenings = 0;

    std::string m_signLine;
    bool m_headlineCleanup = true;

    // The window's job: running from its start until its messages have been shown.
    bool m_jobRunning = false;
    jobstatus::Waiting m_jobWaiting = jobstatus::Waiting::No;
    bool m_jobAbandoned = false;
    engine::JobProgress m_jobProgress;  // its last stage other than Finishing
    int m_jobDocument = 0;              // m_documentOpenings when it started
    settings::CommSettings m_jobComm;   // the document's line settings when it started

    // Set while UpdateData fills the controls, so that their change signals are not handlers.
    bool m_exchanging = false;

    QLineEdit* m_webServerEdit = nullptr;
    QLineEdit* m_webPathEdit = nullptr;
    QComboBox* m_colorList = nullptr;
    QLineEdit* m_updateMinutesEdit = nullptr;
    QLineEdit* m_textBeforeEdit = nullptr;
    QLineEdit* m_textAfterEdit = nullptr;
    QLineEdit* m_leadingCommentEdit = nullptr;
    QPushButton* m_updateSignNow = nullptr;
    QPushButton* m_clearSign = nullptr;
    QCheckBox* m_autoUpdateCheck = nullptr;
    QPushButton* m_updateSourceOnly = nullptr;
    QPushButton* m_clearSourceWindow = nullptr;
    QCheckBox* m_condensedCheck = nullptr;
    QCheckBox* m_showTimeCheck = nullptr;
    QPlainTextEdit* m_sourceWindow = nullptr;

    // Last, so destroyed first: the job's worker ends while the view is whole.
    CWindowJobRunner m_jobs;
};

} // namespace tickerlux::app
