#include "settings/CommSettingsStore.h"

#include "settings/RegistryAccess.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

namespace tickerlux::settings::commstore {
namespace {

constexpr std::uint32_t kTextBufferSize = 1000;
constexpr std::size_t kMaxTextLength = kTextBufferSize - 1;

// A text value, or `fallback` when it cannot be read. The text ends at its first NUL and never
// runs past the buffer's last byte, which is kept for the terminator.
std::string ReadText(const CRegistrySnapshot& registry, const char* name, const char* fallback)
{
    std::array<char, kTextBufferSize> buffer{};
    if (!registry.ReadValue(buffer.data(), nullptr, kTextBufferSize, RegRoot::CurrentUser, kKey,
                            name))
        return fallback;
    return std::string(buffer.data(), strnlen(buffer.data(), kMaxTextLength));
}

// A 32-bit number, or `fallback` when it cannot be read. A stored value shorter than 4 bytes
// replaces only the low-order bytes of the fallback.
int ReadNumber(const CRegistrySnapshot& registry, const char* name, int fallback)
{
    const auto preset = static_cast<std::uint32_t>(fallback);
    std::array<unsigned char, 4> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<unsigned char>(preset >> (8 * i));
    if (!registry.ReadValue(bytes.data(), nullptr, 4, RegRoot::CurrentUser, kKey, name))
        return fallback;
    std::uint32_t value = 0;
    for (std::size_t i = bytes.size(); i-- > 0;)
        value = value << 8 | bytes[i];
    return static_cast<int>(value);
}

// "%s" into the 1000-byte buffer: the text up to its first NUL, at most 999 bytes, stored with
// its terminator.
regfile::Value TextValue(const char* name, const std::string& text)
{
    return {name, kRegSz,
            text.substr(0, std::min(strnlen(text.c_str(), text.size()), kMaxTextLength)) + '\0'};
}

regfile::Value NumberValue(const char* name, int number)
{
    const auto value = static_cast<std::uint32_t>(number);
    std::string bytes(4, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(value >> (8 * i));
    return {name, kRegDword, bytes};
}

bool LoadFrom(const CRegistrySnapshot& registry, CommSettings& values)
{
    const CommSettings defaults;
    values.Connection = ReadText(registry, "Connection", "");
    if (values.Connection.empty())
        return false;
    values.ComPort = ReadNumber(registry, "ComPort", defaults.ComPort);
    values.BaudRate = ReadNumber(registry, "BaudRate", defaults.BaudRate);
    values.ByteSize = ReadNumber(registry, "ByteSize", defaults.ByteSize);
    values.Parity = ReadText(registry, "Parity", defaults.Parity.c_str());
    values.StopBits = ReadNumber(registry, "StopBits", defaults.StopBits);
    return true;
}

// The seven values the Save button writes, the port raised to 1 first.
std::vector<regfile::Value> ValuesToSave(CommSettings& values)
{
    if (values.ComPort < 1)
        values.ComPort = 1;
    return {TextValue("Protocol", values.Protocol), TextValue("Connection", values.Connection),
            NumberValue("ComPort", values.ComPort), NumberValue("BaudRate", values.BaudRate),
            NumberValue("ByteSize", values.ByteSize), TextValue("Parity", values.Parity),
            NumberValue("StopBits", values.StopBits)};
}

} // namespace

bool Load(CommSettings& values, const CRegistryAccess& access)
{
    // One reading for the whole set, so that it is never half of one save and half of another.
    return LoadFrom(access.Snapshot(), values);
}

bool Save(CommSettings& values, const CRegistryAccess& registry)
{
    return registry.WriteValues(RegRoot::CurrentUser, kKey + "\\", ValuesToSave(values));
}

bool Change(const std::function<void(CommSettings&)>& edit, const CRegistryAccess& registry)
{
    return registry.ChangeValues(RegRoot::CurrentUser, kKey + "\\",
                                 [&](const CRegistrySnapshot& stored) {
                                     CommSettings values;
                                     LoadFrom(stored, values);
                                     edit(values);
                                     return ValuesToSave(values);
                                 });
}

bool LoadHeadlineCleanup(const CRegistryAccess& access)
{
    return ReadNumber(access.Snapshot(), "HeadlineCleanup", 1) != 0;
}

bool SaveHeadlineCleanup(bool on, const CRegistryAccess& registry)
{
    return registry.WriteValues(RegRoot::CurrentUser, kKey + "\\",
                                {NumberValue("HeadlineCleanup", on ? 1 : 0)});
}

} // namespace tickerlux::settings::commstore
