#pragma once

#include <optional>
#include <string>

// Points "COMn" of the per-user port map at a device for the life of the object and puts the
// earlier entry (or none) back afterwards.
namespace signsim {

class CPortMapEntry {
public:
    // Throws std::runtime_error when the store cannot be written.
    CPortMapEntry(int comPort, const std::string& devicePath);
    ~CPortMapEntry();
    CPortMapEntry(const CPortMapEntry&) = delete;
    CPortMapEntry& operator=(const CPortMapEntry&) = delete;

private:
    int m_comPort;
    std::optional<std::string> m_earlier;
};

} // namespace signsim
