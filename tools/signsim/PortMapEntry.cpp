#include "tools/signsim/PortMapEntry.h"

#include "settings/PortMap.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace tickerlux::signsim {

namespace {

std::string ComName(int comPort)
{
    return "COM" + std::to_string(comPort);
}

std::string LockPath(int comPort)
{
    const std::optional<std::string> path = settings::portmap::VirtualSignLockPath(comPort);
    if (!path)
        throw std::runtime_error("cannot make the folder of the per-user store for " +
                                 ComName(comPort));
    return *path;
}

} // namespace

CPortMapEntry::CPortMapEntry(int comPort, const std::string& devicePath)
    : m_comPort(comPort), m_lock(LockPath(comPort))
{
    if (!m_lock.Held() && m_lock.Error() == 0)
        throw std::runtime_error(ComName(comPort) +
                                 " is in use by another virtual sign that is still running; "
                                 "stop it or choose another --com number");
    if (!m_lock.Held())
        throw std::runtime_error("cannot lock " + LockPath(comPort) + " for " +
                                 ComName(comPort) + ": " + std::strerror(m_lock.Error()));
    if (!settings::portmap::SetVirtualSignEntry(comPort, devicePath, m_earlier))
        throw std::runtime_error("cannot write " + ComName(comPort) +
                                 " into the port map of the per-user store");
}

CPortMapEntry::~CPortMapEntry()
{
    if (!settings::portmap::SetEntry(m_comPort, m_earlier))
        std::fprintf(stderr, "tickerlux-signsim: cannot restore COM%d in the port map\n",
                     m_comPort);
}

} // namespace tickerlux::signsim
