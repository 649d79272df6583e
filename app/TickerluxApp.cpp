#include "app/TickerluxApp.h"

#include "app/AboutDlg.h"
#include "app/MainFrame.h"
#include "app/TickerluxView.h"
#include "settings/DocFileMessages.h"
#include "settings/ProductName.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace tickerlux::app {

namespace {

constexpr const char* kAppName = settings::kProductName;
const std::string kFileFilter = std::string(settings::kProductName) + " Files(*.tlx)";
constexpr const char* kDefaultSuffix = "tlx";

std::string ToPath(const QString& path)
{
    return QFile::encodeName(QFileInfo(path).absoluteFilePath()).toStdString();
}

// The wait cursor while a settings file is read or written; a failure is shown after it.
class CWaitCursor {
public:
    CWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CWaitCursor() { QApplication::restoreOverrideCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

base::Failure OpenDocument(settings::CTickerluxDoc& doc, const QString& path)
{
    const CWaitCursor wait;
    return doc.OnOpenDocument(ToPath(path));
}

base::Failure SaveDocument(settings::CTickerluxDoc& doc, const QString& path)
{
    const CWaitCursor wait;
    return doc.OnSaveDocument(ToPath(path));
}

} // namespace

CTickerluxApp::CTickerluxApp() = default;

CTickerluxApp::~CTickerluxApp() = default;

bool CTickerluxApp::InitInstance(const QStringList& arguments)
{
    QApplication::setApplicationName(QString::fromLatin1(kAppName));
    // The menu entry (tickerlux.desktop), so that a Wayland desktop shows its name and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("tickerlux"));
    // The per-user store is read once here; each update reads its port map afresh.
    const settings::LoadedUserSettings stored = settings::LoadUserSettings();
    m_recentFiles.SetFiles(stored.settings.RecentFiles);
    m_frame = std::make_unique<CMainFrame>(*this, m_doc, stored.settings);
    m_frame->SetRecentFiles(m_recentFiles.Files());
    if (stored.failure.Failed())
        m_frame->View()->ShowStoreFailure("The settings could not be read", stored.failure);

    if (arguments.size() > 1) {
        const QString& path = arguments.at(1);
        if (const base::Failure failure = OpenDocument(m_doc, path); failure.Failed()) {
            ShowFileFailure(failure);
            return false;
        }
        AddToRecentFiles();
    } else {
        m_doc.OnNewDocument();
    }
    m_frame->UpdateTitle();
    m_frame->show();
    // The form's first display: may open the Communication Settings dialog over the window.
    m_frame->View()->OnInitialUpdate();
    return true;
}

void CTickerluxApp::AddToRecentFiles()
{
    ShowRecentFilesFailure(m_recentFiles.Add(m_doc.GetPathName()));
    m_frame->SetRecentFiles(m_recentFiles.Files());
}

void CTickerluxApp::ShowRecentFilesFailure(const base::Failure& failure)
{
    if (failure.Failed())
        m_frame->View()->ShowStoreFailure("The recent-file list could not be saved", failure);
}

void CTickerluxApp::AfterDocumentChange()
{
    m_frame->UpdateTitle();
    m_frame->View()->OnInitialUpdate();
}

void CTickerluxApp::OnFileNew()
{
    if (!SaveModified())
        return;
    m_doc.OnNewDocument();
    AfterDocumentChange();
}

void CTickerluxApp::OnFileOpen()
{
    const QString path = AskFileName(FileDialogKind::Open, QString());
    if (!path.isEmpty())
        OpenDocumentFile(path);
}

bool CTickerluxApp::OpenDocumentFile(const QString& path)
{
    return SaveModified() && OpenFile(path);
}

bool CTickerluxApp::OpenFile(const QString& path)
{
    if (const base::Failure failure = OpenDocument(m_doc, path); failure.Failed()) {
        ShowFileFailure(failure);
        // A file that broke off mid-way left a fresh document behind: show it as such.
        if (failure.kind == base::FailureKind::FileUnexpectedFormat)
            AfterDocumentChange();
        return false;
    }
    AddToRecentFiles();
    AfterDocumentChange();
    return true;
}

void CTickerluxApp::OnOpenRecentFile(int index)
{
    const auto& files = m_recentFiles.Files();
    if (index < 0 || index >= static_cast<int>(files.size()))
        return;
    const std::string path = files[static_cast<std::size_t>(index)];
    if (!SaveModified())
        return;
    if (!OpenFile(QFile::decodeName(path.c_str()))) {
        // The file is gone or unreadable: it leaves the list (the user was told why). Saving
        // the changes first may have moved it, so it goes by name.
        ShowRecentFilesFailure(m_recentFiles.Remove(path));
        m_frame->SetRecentFiles(m_recentFiles.Files());
    }
}

bool CTickerluxApp::OnFileSave()
{
    return DoSave(QFile::decodeName(m_doc.GetPathName().c_str()));
}

bool CTickerluxApp::OnFileSaveAs()
{
    return DoSave(QString());
}

bool CTickerluxApp::DoSave(const QString& path)
{
    QString target = path;
    if (target.isEmpty()) {
        target = AskFileName(FileDialogKind::SaveAs, QString::fromStdString(m_doc.GetTitle()));
        if (target.isEmpty())
            return false;
    }
    if (const base::Failure failure = SaveDocument(m_doc, target); failure.Failed()) {
        ShowFileFailure(failure);
        return false;
    }
    AddToRecentFiles();
    m_frame->UpdateTitle();
    return true;
}

bool CTickerluxApp::SaveModified()
{
    if (!m_doc.IsModified())
        return true;
    QMessageBox ask(QMessageBox::Warning, QString::fromLatin1(kAppName),
                    QStringLiteral("Save changes to %1?").arg(QString::fromStdString(m_doc.GetTitle())),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, m_frame.get());
    ask.setDefaultButton(QMessageBox::Yes);
    switch (ask.exec()) {
    case QMessageBox::Yes:
        return OnFileSave();
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

QString CTickerluxApp::AskFileName(FileDialogKind kind, const QString& suggestedName)
{
    if (m_fileNamePrompt)
        return m_fileNamePrompt(kind, suggestedName);
    QFileDialog dialog(m_frame.get());
    dialog.setNameFilter(QString::fromStdString(kFileFilter));
    dialog.setDefaultSuffix(QString::fromLatin1(kDefaultSuffix));
    if (kind == FileDialogKind::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setWindowTitle(QStringLiteral("Open"));
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setWindowTitle(QStringLiteral("Save As"));
        dialog.selectFile(suggestedName);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

void CTickerluxApp::ShowFileFailure(const base::Failure& failure)
{
    // The message names the file in UTF-8, as the file system spells it.
    QMessageBox box(QMessageBox::Warning, QString::fromLatin1(kAppName),
                    QString::fromStdString(settings::DocFileMessage(failure)),
                    QMessageBox::Ok, m_frame.get());
    box.exec();
}

void CTickerluxApp::OnAppAbout()
{
    CAboutDlg dialog(m_frame.get());
    dialog.exec();
}

} // namespace tickerlux::app
