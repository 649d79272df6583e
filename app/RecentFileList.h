#pragma once

#include <string>
#include <vector>

namespace tickerlux::settings {
class CRegistryAccess;
} // namespace tickerlux::settings

namespace tickerlux::app {

// File > recent files: the last settings files opened or saved, newest first, kept in the
// per-user store so that the next run shows them too.
class CRecentFileList {
public:
    static constexpr int kSize = 4;

    explicit CRecentFileList(const settings::CRegistryAccess& registry);

    // Reads the stored list; unreadable entries are skipped.
    void ReadList();

    // Puts `path` first (moving it up when listed), drops entries beyond kSize, stores the list.
    void Add(const std::string& path);
    // Removes `path` from the list and stores the list.
    void Remove(const std::string& path);

    const std::vector<std::string>& Files() const { return m_files; }

private:
    void WriteList() const;

    const settings::CRegistryAccess& m_registry;
    std::vector<std::string> m_files;
};

} // namespace tickerlux::app
