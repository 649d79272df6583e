#pragma once

#include "base/FileLock.h"

#include <optional>
#include <string>

namespace tickerlux::signsim {

// Points "COMn" of the per-user port map at a device for the life of the object and puts the
// earlier entry (or none) back afterwards. The entry is tied to a lock the object holds, so it
// is honoured only while this process runs, and a second virtual sign cannot take the same COM
// number meanwhile.

class CPortMapEntry {
public:
    // Throws std::runtime_error when another running virtual sign serves COMn or the store
    // cannot be written.
    CPortMapEntry(int comPort, const std::string& devicePath);
    ~CPortMapEntry();
    CPortMapEntry(const CPortMapEntry&) = delete;
    CPortMapEntry& operator=(const CPortMapEntry&) = delete;

private:
    int m_comPort;
    // Released after the earlier entry is back, so no other virtual sign steps in before.
    base::CHeldLock m_lock;
    std::optional<std::string> m_earlier;
};

} // namespace tickerlux::signsim
