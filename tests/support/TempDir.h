#pragma once

#include <string>

namespace tickerlux::test {

// A fresh folder under $TMPDIR, removed with everything in it when the object goes.
class CTempDir {
public:
    CTempDir();
    ~CTempDir();
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;

    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// Points XDG_CONFIG_HOME at a fresh folder for the life of the object, so a test's per-user
// store is its own; the earlier value comes back afterwards.
class CScopedConfigHome {
public:
    CScopedConfigHome();
    ~CScopedConfigHome();
    CScopedConfigHome(const CScopedConfigHome&) = delete;
    CScopedConfigHome& operator=(const CScopedConfigHome&) = delete;

    const std::string& Path() const { return m_dir.Path(); }
    // The store file inside it.
    std::string StoreFile() const { return m_dir.Path() + "/tickerlux/user.reg"; }

private:
    CTempDir m_dir;
    bool m_hadOld = false;
    std::string m_old;
};

// Reads and writes whole files as bytes.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

// The build folder (for the programs the tests start): $TICKERLUX_BUILD_DIR.
std::string BuildDir();

} // namespace tickerlux::test
