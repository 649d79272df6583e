#pragma once

#include "engine/TickerluxEngine.h"
#include "engine/UserInterface.h"
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
// runs the update commands, by hand and on the auto-update timer. The update pipeline itself is
// the engine's; this class only binds widgets to it and shows what the engine reports.
//
// Controls carry their ids as object names ("1001" is the web server edit box); the feed fields'
// ids and captions come from the field table. Member texts hold Windows-1252 bytes like the
// document; they become Unicode only inside the widgets.
class CTickerluxView : public QWidget, public engine::IUserInterface, public settings::IDocumentObserver {
    Q_OBJECT
public:
    // `stored`: the per-user settings as the program read them at its start (the headline
    // cleanup switch, and the communication settings the first display takes).
    CTickerluxView(settings::CTickerluxDoc& doc, const settings::UserSettings& stored,
                   QWidget* parent = nullptr);
    ~CTickerluxView() override;

    settings::CTickerluxDoc& GetDocument() const { return m_doc; }
    engine::CTickerluxEngine& Engine() { return m_engine; }

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

    // IUserInterface.
    void MessageBox(const std::string& text) override;
    // A failure of the per-user store, in a message box; its path is UTF-8 as it is.
    void ShowStoreFailure(const std::string& what, const base::Failure& failure);
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void PumpMessages(int maxMessages) override;

    // Runs a tick of the auto-update timer.
    void OnTimer(int id);

signals:
    // The sign line, or the colour or condensed choice it is shown with, may have changed.
    void SignLineChanged();

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
    // Each command resolves COMn with the port map in force as it starts: read once for it.
    void LoadPortMap();

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

    // Last: it holds references to the document and to this view's user interface.
    engine::CTickerluxEngine m_engine;
};

} // namespace tickerlux::app
