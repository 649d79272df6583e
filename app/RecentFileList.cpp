#include "app/RecentFileList.h"

#include <algorithm>

namespace tickerlux::app {

base::Failure CRecentFileList::Add(const std::string& path)
{
    std::erase(m_files, path);
    m_files.insert(m_files.begin(), path);
    if (m_files.size() > static_cast<std::size_t>(kSize))
        m_files.resize(kSize);
    return WriteList();
}

base::Failure CRecentFileList::Remove(const std::string& path)
{
    if (std::erase(m_files, path) == 0)
        return {};
    return WriteList();
}

base::Failure CRecentFileList::WriteList() const
{
    return settings::UpdateUserSettings(
        [this](settings::UserSettings& stored) { stored.RecentFiles = m_files; });
}

} // namespace tickerlux::app
