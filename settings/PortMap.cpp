#include "settings/PortMap.h"

#include "base/FileLock.h"
#include "settings/CommSettingsStore.h"
#include "settings/RegistryAccess.h"
#include "settings/UserStore.h"

#include <cstring>

namespace tickerlux::settings::portmap {
namespace {

const std::string kPortsKey = "HKEY_CURRENT_USER\\" + commstore::kKey + "\\Ports";
// Beside a virtual sign's entry "COMn": the lock file that keeps it in force, and the entry it
// replaced.
constexpr const char* kLockSuffix = ".Lock";
constexpr const char* kEarlierSuffix = ".Earlier";

std::string ValueName(int port)
{
    return "COM" + std::to_string(port);
}

// A text value up to its first NUL; nothing when it is missing or empty.
std::optional<std::string> Text(const regfile::CRegFile& store, const std::string& name)
{
    const regfile::Value* value = store.Find(kPortsKey, name);
    if (!value)
        return std::nullopt;
    std::string text(value->data.c_str(), strnlen(value->data.c_str(), value->data.size()));
    if (text.empty())
        return std::nullopt;
    return text;
}

// The entry in force when no virtual sign serves COMn: the one a virtual sign's entry replaced.
std::optional<std::string> EntryWithoutVirtualSign(const regfile::CRegFile& store, int port)
{
    const std::string name = ValueName(port);
    if (Text(store, name + kLockSuffix))
        return Text(store, name + kEarlierSuffix);
    return Text(store, name);
}

std::optional<std::string> EntryInForce(const regfile::CRegFile& store, int port)
{
    const std::string name = ValueName(port);
    const std::optional<std::string> lock = Text(store, name + kLockSuffix);
    if (lock && base::IsLockHeld(*lock))
        return Text(store, name);
    return EntryWithoutVirtualSign(store, port);
}

void SetText(regfile::CRegFile& store, const std::string& name,
             const std::optional<std::string>& text)
{
    if (text)
        store.Set(kPortsKey, regfile::Value{name, kRegSz, *text + '\0'});
    else
        store.Remove(kPortsKey, name);
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
    const std::optional<regfile::CRegFile> store = userstore::Load();
    if (!store)
        return std::nullopt;
    return EntryInForce(*store, port);
}

bool SetEntry(int port, const std::optional<std::string>& devicePath)
{
    const std::string name = ValueName(port);
    return userstore::Update([&](regfile::CRegFile& store) {
        SetText(store, name, devicePath);
        SetText(store, name + kLockSuffix, std::nullopt);
        SetText(store, name + kEarlierSuffix, std::nullopt);
        return true;
    });
}

std::optional<std::string> VirtualSignLockPath(int port)
{
    if (!userstore::MakeStoreFolder())
        return std::nullopt;
    return userstore::StoreFolder() + "/" + ValueName(port) + kLockSuffix;
}

bool SetVirtualSignEntry(int port, const std::string& devicePath,
                         std::optional<std::string>& earlier)
{
    const std::optional<std::string> lock = VirtualSignLockPath(port);
    if (!lock)
        return false;
    const std::string name = ValueName(port);
    return userstore::Update([&](regfile::CRegFile& store) {
        // The caller holds the lock now, so an entry of an earlier virtual sign is a dead one's.
        earlier = EntryWithoutVirtualSign(store, port);
        SetText(store, name, devicePath);
        SetText(store, name + kLockSuffix, *lock);
        SetText(store, name + kEarlierSuffix, earlier);
        return true;
    });
}

} // namespace tickerlux::settings::portmap
