#pragma once

#include <QMainWindow>
#include <QMap>

#include <string>
#include <vector>

class QLabel;
class QMenu;
class QProgressBar;
class QToolBar;
class QToolButton;

namespace tickerlux::settings {
class CTickerluxDoc;
struct UserSettings;
} // namespace tickerlux::settings

namespace tickerlux::app {

class CSignPreview;
class CTickerluxApp;
class CTickerluxView;

// The main window: menus, toolbar, status bar and the headline form, at the fixed size that fits
// the form. Its caption is the product name, " - " and the document's title.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // `stored`: the per-user settings as the program read them at its start.
    CMainFrame(CTickerluxApp& app, settings::CTickerluxDoc& doc, const settings::UserSettings& stored);

    CTickerluxView* View() const { return m_view; }
    // The action of a menu or toolbar command (ids::kFileNew, ...); nullptr for an unknown id.
    QAction* Action(int id) const { return m_actions.value(id, nullptr); }
    // The recent-file entries as the File menu shows them.
    QList<QAction*> RecentFileActions() const { return m_recentActions; }

    void UpdateTitle();
    void SetRecentFiles(const std::vector<std::string>& paths);

    // Resizes the window so that its client area fits the form exactly.
    void RecalcLayout();

    // The text of the status bar's CAP, NUM or SCRL pane (ids::kIndicatorCaps, ...).
    QString IndicatorText(int id) const;

    // View > Sign Preview's window.
    CSignPreview* SignPreview() const { return m_signPreview; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* AddAction(int id, const QString& text, const QString& prompt, QMenu* menu);
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void UpdateIndicators();
    void CreateSignPreview();
    void UpdateSignPreview();
    // The status bar while a job runs: its stage, a progress bar and a Stop button.
    void CreateJobStatus();
    void ShowJobStatus(const QString& stage, int percent);
    void ShowJobEnded(const QString& outcome);

    CTickerluxApp& m_app;
    settings::CTickerluxDoc& m_doc;
    CTickerluxView* m_view = nullptr;
    CSignPreview* m_signPreview = nullptr;
    QToolBar* m_toolBar = nullptr;
    QMenu* m_fileMenu = nullptr;
    QAction* m_recentPlaceholder = nullptr;
    QList<QAction*> m_recentActions;
    QMap<int, QAction*> m_actions;
    QMap<int, QLabel*> m_indicators;
    // What the message pane shows when no prompt or outcome is up: "Ready", or the job's stage.
    QString m_idleText;
    QProgressBar* m_progressBar = nullptr;
    QToolButton* m_stopButton = nullptr;
};

} // namespace tickerlux::app
