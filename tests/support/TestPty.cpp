#include "tests/support/TestPty.h"

#include "settings/UserSettings.h"

#include <algorithm>
#include <asm/termbits.h>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/ioctl.h>
#include <unistd.h>

namespace tickerlux::test {

namespace {

termios2 SlaveSettings(int master)
{
    // On a pseudo-terminal the master side reports the slave's settings.
    termios2 tio{};
    if (ioctl(master, TCGETS2, &tio) != 0)
        throw std::runtime_error("TCGETS2 on the pty master failed");
    return tio;
}

} // namespace

CTestPty::CTestPty()
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0)
        throw std::runtime_error("cannot open a pseudo-terminal");
    char name[128];
    if (ptsname_r(m_master, name, sizeof name) != 0)
        throw std::runtime_error("ptsname_r failed");
    m_slavePath = name;
}

CTestPty::~CTestPty()
{
    close(m_master);
}

void CTestPty::MapAs(int comPort) const
{
    SetStoredPortEntry(comPort, m_slavePath);
}

void SetStoredPortEntry(int comPort, const std::optional<std::string>& device)
{
    if (settings::UpdateUserSettings([&](settings::UserSettings& stored) {
            stored.Ports.SetEntry(comPort, device);
        }).Failed())
        throw std::runtime_error("cannot write the port map");
}

std::optional<std::string> StoredPortEntry(int comPort)
{
    return settings::LoadUserSettings().settings.Ports.EntryInForce(comPort);
}

std::string CTestPty::Read(std::size_t count, std::size_t chunk) const
{
    std::string bytes;
    std::string buffer(chunk, '\0');
    while (bytes.size() < count) {
        const ssize_t got = read(m_master, buffer.data(), std::min(chunk, count - bytes.size()));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break; // EIO: the slave side was closed and nothing is left
        bytes.append(buffer.data(), static_cast<std::size_t>(got));
    }
    return bytes;
}

std::size_t CTestPty::Pending() const
{
    int pending = 0;
    if (ioctl(m_master, FIONREAD, &pending) != 0)
        throw std::runtime_error("FIONREAD on the pty master failed");
    return static_cast<std::size_t>(pending);
}

void CTestPty::Send(const std::string& bytes) const
{
    if (write(m_master, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        throw std::runtime_error("write to the pty master failed");
}

std::uint32_t CTestPty::Speed() const
{
    return SlaveSettings(m_master).c_ospeed;
}

bool CTestPty::TwoStopBits() const
{
    return (SlaveSettings(m_master).c_cflag & CSTOPB) != 0;
}

} // namespace tickerlux::test
