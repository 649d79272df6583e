#include "settings/PortMap.h"

#include "base/AsciiCase.h"
#include "base/FileLock.h"
#include "settings/UserSettings.h"

#include <algorithm>

namespace tickerlux::settings {
namespace {

constexpr const char* kLockSuffix = ".Lock";
constexpr const char* kEarlierSuffix = ".Earlier";

std::string ValueName(int port)
{
    return "COM" + std::to_string(port);
}

} // namespace

bool CPortMap::NameLess::operator()(const std::string& a, const std::string& b) const
{
    return base::LessIgnoringAsciiCase(a, b);
}

std::optional<std::string> CPortMap::Text(const std::string& name) const
{
    const auto found = m_texts.find(name);
    if (found == m_texts.end() || found->second.empty())
        return std::nullopt;
    return found->second;
}

void CPortMap::SetText(const std::string& name, const std::optional<std::string>& text)
{
    if (text && !text->empty())
        m_texts[name] = *text;
    else
        m_texts.erase(name);
}

std::optional<std::string> CPortMap::EntryWithoutVirtualSign(int port) const
{
    const std::string name = ValueName(port);
    if (Text(name + kLockSuffix))
        return Text(name + kEarlierSuffix);
    return Text(name);
}

std::optional<std::string> CPortMap::EntryInForce(int port) const
{
    const std::string name = ValueName(port);
    const std::optional<std::string> lock = Text(name + kLockSuffix);
    if (lock && base::IsLockHeld(*lock))
        return Text(name);
    return EntryWithoutVirtualSign(port);
}

void CPortMap::SetEntry(int port, const std::optional<std::string>& devicePath)
{
    const std::string name = ValueName(port);
    SetText(name, devicePath);
    SetText(name + kLockSuffix, std::nullopt);
    SetText(name + kEarlierSuffix, std::nullopt);
}

std::optional<std::string> CPortMap::SetVirtualSignEntry(int port, const std::string& devicePath,
                                                         const std::string& lockPath)
{
    // The caller holds the lock now, so an entry of an earlier virtual sign is a dead one's.
    std::optional<std::string> earlier = EntryWithoutVirtualSign(port);
    const std::string name = ValueName(port);
    SetText(name, devicePath);
    SetText(name + kLockSuffix, lockPath);
    SetText(name + kEarlierSuffix, earlier);
    return earlier;
}

std::string ResolvePort(const CPortMap& ports, int port)
{
    if (std::optional<std::string> entry = ports.EntryInForce(port))
        return *entry;
    return "/dev/ttyS" + std::to_string(port - 1);
}

std::string ResolvePort(const UserSettings& settings, int port)
{
    return ResolvePort(settings.Ports, port);
}

} // namespace tickerlux::settings
