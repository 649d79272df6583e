#include "tests/support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tickerlux::test {

CTempDir::CTempDir()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/tickerlux-test-XXXXXX";
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed for " + pattern);
    m_path = pattern;
}

CTempDir::~CTempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

CScopedConfigHome::CScopedConfigHome()
{
    if (const char* old = std::getenv("XDG_CONFIG_HOME")) {
        m_hadOld = true;
        m_old = old;
    }
    setenv("XDG_CONFIG_HOME", m_dir.Path().c_str(), 1);
}

CScopedConfigHome::~CScopedConfigHome()
{
    if (m_hadOld)
        setenv("XDG_CONFIG_HOME", m_old.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return std::move(bytes).str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::string BuildDir()
{
    const char* dir = std::getenv("TICKERLUX_BUILD_DIR");
    if (!dir || !*dir)
        throw std::runtime_error("TICKERLUX_BUILD_DIR is not set (run the tests through ctest)");
    return dir;
}

} // namespace tickerlux::test
