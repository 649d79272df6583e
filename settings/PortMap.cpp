#include "settings/PortMap.h"

#include "settings/CommSettingsStore.h"
#include "settings/RegistryAccess.h"

#include <cstring>
#include <vector>

namespace portmap {
namespace {

const std::string kPortsKey = commstore::kKey + "\\Ports";
constexpr std::uint32_t kMaxPathBytes = 4096;

std::string ValueName(int port)
{
    return "COM" + std::to_string(port);
}

} // namespace

std::string DevicePathForComPort(int port)
{
    if (std::optional<std::string> entry = GetEntry(port))
        return *entry;
    return "/dev/ttyS" + std::to_string(port - 1);
}

std::optional<std::string> GetEntry(int port)
{
    std::vector<char> buffer(kMaxPathBytes, '\0');
    std::uint32_t size = 0;
    if (!CRegistryAccess().ReadValue(buffer.data(), &size, kMaxPathBytes, RegRoot::CurrentUser,
                                     kPortsKey, ValueName(port)))
        return std::nullopt;
    std::string path(buffer.data(), strnlen(buffer.data(), size));
    if (path.empty())
        return std::nullopt;
    return path;
}

bool SetEntry(int port, const std::optional<std::string>& devicePath)
{
    const CRegistryAccess registry;
    if (!devicePath)
        return registry.DeleteValue(RegRoot::CurrentUser, kPortsKey, ValueName(port));
    const std::string data = *devicePath + '\0';
    return registry.WriteValue(data.data(), kRegSz, static_cast<std::uint32_t>(data.size()),
                               RegRoot::CurrentUser, kPortsKey, ValueName(port));
}

} // namespace portmap
