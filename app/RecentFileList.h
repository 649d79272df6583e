#pragma once

#include "base/Failure.h"
#include "settings/UserSettings.h"

#include <string>
#include <vector>

namespace tickerlux::app {

// File > recent files: the last settings files opened or saved, newest first, kept in the
// per-user store so that the next run shows them too.
class CRecentFileList {
public:
    static constexpr int kSize = settings::UserSettings::kRecentFiles;

    // The list as the store held it at the program's start.
    void SetFiles(std::vector<std::string> files) { m_files = std::move(files); }

    // Puts `path` first (moving it up when listed), drops entries beyond kSize, stores the list.
    // A failure to store it is returned; the list still serves this run.
    base::Failure Add(const std::string& path);
    // Removes `path` from the list and stores the list, as Add.
    base::Failure Remove(const std::string& path);

    const std::vector<std::string>& Files() const { return m_files; }

private:
    base::Failure WriteList() const;

    std::vector<std::string> m_files;
};

} // namespace tickerlux::app
