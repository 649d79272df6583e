#pragma once

#include "base/Failure.h"
#include "settings/CommSettings.h"
#include "settings/FeedFields.h"

#include <string>
#include <vector>

namespace tickerlux::settings {

class CArchive;

// Notified when the document asks its views to show the fields afresh.
class IDocumentObserver {
public:
    virtual ~IDocumentObserver() = default;
    virtual void OnDocumentUpdate(IDocumentObserver* sender, long hint) = 0;
};

// The settings of one headline feed (the feed fields, saved in the settings file), the last
// downloaded page and the communication settings. Texts hold Windows-1252 bytes; the path and
// title are file names as the file system spells them (UTF-8). Fields are public: every part of
// the program reads them directly.
class CTickerluxDoc : public FeedFieldValues {
public:
    // The page last downloaded; never saved.
    std::string SourceText;

    // Communication settings, kept in the per-user store and not in the file.
    CommSettings Comm;

    // Resets the feed fields and SourceText; keeps the communication settings.
    bool OnNewDocument();

    // Writes or reads the feed fields, as the archive says.
    void Serialize(CArchive& ar);

    // File > Open and File > Save with the framework's behaviour around Serialize. A failure is
    // of kind FileUnreadable, FileUnexpectedFormat (the document is then a new one) or
    // FileNotSaved; DocFileMessage words it for the user.
    base::Failure OnOpenDocument(const std::string& path);
    base::Failure OnSaveDocument(const std::string& path);

    bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified = true) { m_modified = modified; }

    const std::string& GetPathName() const { return m_pathName; }
    void SetPathName(const std::string& path);
    // The file name without folder, or "Untitled" for a document never saved.
    const std::string& GetTitle() const { return m_title; }

    void AddObserver(IDocumentObserver* observer);
    void RemoveObserver(IDocumentObserver* observer);
    void UpdateAllViews(IDocumentObserver* sender = nullptr, long hint = 0);

private:
    void ResetFeedFields();

    bool m_modified = false;
    std::string m_pathName;
    std::string m_title = "Untitled";
    std::vector<IDocumentObserver*> m_observers;
};

} // namespace tickerlux::settings
