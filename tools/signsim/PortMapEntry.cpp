#include "tools/signsim/PortMapEntry.h"

#include "settings/UserSettings.h"

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
    if (const base::Failure failure = settings::MakeUserStoreFolder(); failure.Failed())
        throw std::runtime_error("cannot make the folder of the per-user store for " +
                                 ComName(comPort) + ": " + failure.Text());
    return settings::UserStoreFolder() + "/" + ComName(comPort) + ".Lock";
}

} // namespace

CPortMapEntry::CPortMapEntry(int comPort, const std::string& devicePath)
    : m_comPort(comPort), m_lock(LockPath(comPort))
{
    if (!m_lock.Held() && m_lock.Error() == 0)
        throw std::runtime_error(ComName(comPort) +
                                 " is in use by another virtual sign that is still running; "
                                 "stop it or choose another --com number");
    const std::string lockPath = LockPath(comPort);
    if (!m_lock.Held())
        throw std::runtime_error("cannot lock " + lockPath + " for " + ComName(comPort) + ": " +
                                 std::strerror(m_lock.Error()));
    const base::Failure failure = settings::UpdateUserSettings([&](settings::UserSettings& stored) {
        m_earlier = stored.Ports.SetVirtualSignEntry(comPort, devicePath, lockPath);
    });
    if (failure.Failed())
        throw std::runtime_error("cannot write " + ComName(comPort) +
                                 " into the port map of the per-user store: " + failure.Text());
}

CPortMapEntry::~CPortMapEntry()
{
    const base::Failure failure = settings::UpdateUserSettings(
        [this](settings::UserSettings& stored) { stored.Ports.SetEntry(m_comPort, m_earlier); });
    if (failure.Failed())
        std::fprintf(stderr, "tickerlux-signsim: cannot restore COM%d in the port map: %s\n",
                     m_comPort, failure.Text().c_str());
}

} // namespace tickerlux::signsim
