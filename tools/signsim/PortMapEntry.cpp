#include "tools/signsim/PortMapEntry.h"

#include "settings/PortMap.h"

#include <cstdio>
#include <stdexcept>

namespace signsim {

CPortMapEntry::CPortMapEntry(int comPort, const std::string& devicePath)
    : m_comPort(comPort), m_earlier(portmap::GetEntry(comPort))
{
    if (!portmap::SetEntry(comPort, devicePath))
        throw std::runtime_error("cannot write COM" + std::to_string(comPort) +
                                 " into the port map of the per-user store");
}

CPortMapEntry::~CPortMapEntry()
{
    if (!portmap::SetEntry(m_comPort, m_earlier))
        std::fprintf(stderr, "tickerlux-signsim: cannot restore COM%d in the port map\n",
                     m_comPort);
}

} // namespace signsim
