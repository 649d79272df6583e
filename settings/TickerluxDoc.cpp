#include "settings/TickerluxDoc.h"

#include <algorithm>

namespace tickerlux::settings {

void CTickerluxDoc::ResetFeedFields()
{
    static_cast<FeedFieldValues&>(*this) = FeedFieldValues();
    SourceText.clear();
}

bool CTickerluxDoc::OnNewDocument()
{
    SetPathName("");
    m_modified = false;
    ResetFeedFields();
    return true;
}

void CTickerluxDoc::SetPathName(const std::string& path)
{
    m_pathName = path;
    if (path.empty()) {
        m_title = "Untitled";
        return;
    }
    const auto slash = path.find_last_of('/');
    m_title = slash == std::string::npos ? path : path.substr(slash + 1);
}

void CTickerluxDoc::AddObserver(IDocumentObserver* observer)
{
    if (std::find(m_observers.begin(), m_observers.end(), observer) == m_observers.end())
        m_observers.push_back(observer);
}

void CTickerluxDoc::RemoveObserver(IDocumentObserver* observer)
{
    std::erase(m_observers, observer);
}

void CTickerluxDoc::UpdateAllViews(IDocumentObserver* sender, long hint)
{
    // A copy, so an observer may register or leave while being told; one that has left (it may
    // be gone) is not told.
    const auto observers = m_observers;
    for (IDocumentObserver* observer : observers)
        if (observer != sender && std::ranges::find(m_observers, observer) != m_observers.end())
            observer->OnDocumentUpdate(sender, hint);
}

} // namespace tickerlux::settings
