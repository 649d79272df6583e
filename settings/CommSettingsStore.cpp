#include "settings/CommSettingsStore.h"

#include "settings/RegistryAccess.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace commstore {
namespace {

constexpr std::uint32_t kTextBufferSize = 1000;
constexpr std::size_t kMaxTextLength = kTextBufferSize - 1;

// A text value, or `fallback` when it cannot be read. The text ends at its first NUL and never
// runs past the buffer's last byte, which is kept for the terminator.
std::string ReadText(const CRegistryAccess& registry, const char* name, const char* fallback)
{
    std::array<char, kTextBufferSize> buffer{};
    if (!registry.ReadValue(buffer.data(), nullptr, kTextBufferSize, RegRoot::CurrentUser, kKey,
                            name))
        return fallback;
    return std::string(buffer.data(), strnlen(buffer.data(), kMaxTextLength));
}

// A 32-bit number, or `fallback` when it cannot be read. A stored value shorter than 4 bytes
// replaces only the low-order bytes of the fallback.
int ReadNumber(const CRegistryAccess& registry, const char* name, int fallback)
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
bool WriteText(const CRegistryAccess& registry, const char* name, const std::string& text)
{
    const std::string stored =
        text.substr(0, std::min(strnlen(text.c_str(), text.size()), kMaxTextLength)) + '\0';
    return registry.WriteValue(stored.data(), kRegSz, static_cast<std::uint32_t>(stored.size()),
                               RegRoot::CurrentUser, kKey + "\\", name);
}

bool WriteNumber(const CRegistryAccess& registry, const char* name, int number)
{
    const auto value = static_cast<std::uint32_t>(number);
    std::array<unsigned char, 4> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<unsigned char>(value >> (8 * i));
    return registry.WriteValue(bytes.data(), kRegDword, 4, RegRoot::CurrentUser, kKey + "\\",
                               name);
}

} // namespace

bool Load(CommSettings& values, const CRegistryAccess& registry)
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

bool Save(CommSettings& values, const CRegistryAccess& registry)
{
    if (values.ComPort < 1)
        values.ComPort = 1;
    bool ok = WriteText(registry, "Protocol", values.Protocol);
    ok = WriteText(registry, "Connection", values.Connection) && ok;
    ok = WriteNumber(registry, "ComPort", values.ComPort) && ok;
    ok = WriteNumber(registry, "BaudRate", values.BaudRate) && ok;
    ok = WriteNumber(registry, "ByteSize", values.ByteSize) && ok;
    ok = WriteText(registry, "Parity", values.Parity) && ok;
    ok = WriteNumber(registry, "StopBits", values.StopBits) && ok;
    return ok;
}

bool LoadHeadlineCleanup(const CRegistryAccess& registry)
{
    return ReadNumber(registry, "HeadlineCleanup", 1) != 0;
}

bool SaveHeadlineCleanup(bool on, const CRegistryAccess& registry)
{
    return WriteNumber(registry, "HeadlineCleanup", on ? 1 : 0);
}

} // namespace commstore
