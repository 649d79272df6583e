#include "app/RecentFileList.h"

#include "settings/ProductName.h"
#include "settings/RegistryAccess.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tickerlux::app {

namespace {

// The framework's profile key for this program, and the list's section in it.
const std::string kKey = std::string("Software\\Local AppWizard-Generated Applications\\") +
                         settings::kProductName + "\\Recent File List";
constexpr std::uint32_t kMaxPathBytes = 4096;

std::string EntryName(int index)
{
    return "File" + std::to_string(index + 1);
}

} // namespace

CRecentFileList::CRecentFileList(const settings::CRegistryAccess& registry) : m_registry(registry) {}

void CRecentFileList::ReadList()
{
    m_files.clear();
    std::vector<char> buffer(kMaxPathBytes + 1);
    for (int i = 0; i < kSize; ++i) {
        std::fill(buffer.begin(), buffer.end(), '\0');
        std::uint32_t size = 0;
        if (!m_registry.ReadValue(buffer.data(), &size, kMaxPathBytes, settings::RegRoot::CurrentUser, kKey,
                                  EntryName(i)))
            continue;
        const std::string path(buffer.data());  // stored with its terminating zero
        if (!path.empty() && std::find(m_files.begin(), m_files.end(), path) == m_files.end())
            m_files.push_back(path);
    }
}

void CRecentFileList::Add(const std::string& path)
{
    std::erase(m_files, path);
    m_files.insert(m_files.begin(), path);
    if (m_files.size() > static_cast<std::size_t>(kSize))
        m_files.resize(kSize);
    WriteList();
}

void CRecentFileList::Remove(const std::string& path)
{
    if (std::erase(m_files, path) != 0)
        WriteList();
}

void CRecentFileList::WriteList() const
{
    // Write failures are silent: the list in memory still serves this run.
    for (int i = 0; i < kSize; ++i) {
        if (i < static_cast<int>(m_files.size())) {
            const std::string& path = m_files[static_cast<std::size_t>(i)];
            m_registry.WriteValue(path.c_str(), settings::kRegSz, static_cast<std::uint32_t>(path.size() + 1),
                                  settings::RegRoot::CurrentUser, kKey, EntryName(i));
        } else {
            m_registry.DeleteValue(settings::RegRoot::CurrentUser, kKey, EntryName(i));
        }
    }
}

} // namespace tickerlux::app
