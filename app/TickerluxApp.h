#pragma once

#include "app/RecentFileList.h"
#include "settings/TickerluxDoc.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace tickerlux::app {

class CMainFrame;

// The desktop program: one settings document, its main window, the File commands around them
// (New, Open, Save, Save As, recent files, the unsaved-changes prompt) and Help > About.
class CTickerluxApp : public QObject {
    Q_OBJECT
public:
    enum class FileDialogKind { Open, SaveAs };
    // Supplies a file name where the program would ask with a file dialog; an empty name means
    // the user cancelled.
    using FileNamePrompt = std::function<QString(FileDialogKind kind, const QString& suggestedName)>;

    CTickerluxApp();
    ~CTickerluxApp() override;

    // Builds the main window and opens the settings file named in `arguments` (the program's
    // own name first), or starts a new document; then shows the window. False when the named
    // file cannot be opened: the program then ends.
    bool InitInstance(const QStringList& arguments);

    settings::CTickerluxDoc& Document() { return m_doc; }
    CMainFrame* MainFrame() const { return m_frame.get(); }
    const CRecentFileList& RecentFiles() const { return m_recentFiles; }

    // Replaces the file dialogs (tests, scripted use).
    void SetFileNamePrompt(FileNamePrompt prompt) { m_fileNamePrompt = std::move(prompt); }

    void OnFileNew();
    void OnFileOpen();
    bool OnFileSave();
    bool OnFileSaveAs();
    void OnOpenRecentFile(int index);
    void OnAppAbout();

    // Opens a settings file in place of the current document, after the unsaved-changes prompt.
    bool OpenDocumentFile(const QString& path);

    // Asks whether to save a modified document: true when it may be replaced or closed.
    bool SaveModified();

private:
    // Opens without asking about unsaved changes first.
    bool OpenFile(const QString& path);
    bool DoSave(const QString& path);
    QString AskFileName(FileDialogKind kind, const QString& suggestedName);
    void ShowFileFailure(const base::Failure& failure);
    // Puts the document's file first in the recent-file list and the File menu.
    void AddToRecentFiles();
    // Tells the user that the recent-file list could not be stored, if so.
    void ShowRecentFilesFailure(const base::Failure& failure);
    void AfterDocumentChange();

    CRecentFileList m_recentFiles;
    settings::CTickerluxDoc m_doc;
    std::unique_ptr<CMainFrame> m_frame;
    FileNamePrompt m_fileNamePrompt;
};

} // namespace tickerlux::app
