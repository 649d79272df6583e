#include "settings/UserSettingsCodec.h"

#include "settings/ProductName.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace tickerlux::settings::usercodec {
namespace {

using regfile::CRegFile;
using regfile::Value;

constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegDword = 4;

const std::string kCommKey =
    std::string("HKEY_CURRENT_USER\\Software\\Orvane\\") + kProductName;
const std::string kPortsKey = kCommKey + "\\Ports";
const std::string kWebKey = kCommKey + "\\Web";
// The framework's profile key for this program, and the recent-file list's section in it.
const std::string kRecentKey =
    std::string("HKEY_CURRENT_USER\\Software\\Local AppWizard-Generated Applications\\") +
    kProductName + "\\Recent File List";

// How many bytes each text value may have: a longer one is unreadable. The communication texts
// were read into a 1000-byte buffer that kept the last byte for the terminator.
struct TextLimit {
    std::size_t bytes;
    std::size_t length;
};
constexpr TextLimit kCommText{1000, 999};
constexpr TextLimit kRecentPath{4096, 4096};
// libsodium's hash strings are shorter than 128 bytes.
constexpr TextLimit kPasswordHash{127, 127};

// A text value up to its first NUL; nothing when it is missing or longer than allowed.
std::optional<std::string> ReadText(const CRegFile& store, const std::string& key,
                                    std::string_view name, TextLimit limit)
{
    const Value* value = store.Find(key, name);
    if (!value || value->data.size() > limit.bytes)
        return std::nullopt;
    const std::string& data = value->data;
    return data.substr(0, std::min(strnlen(data.c_str(), data.size()), limit.length));
}

// A 32-bit little-endian number, or `fallback` when it cannot be read. A stored value shorter
// than 4 bytes replaces only the low-order bytes of the fallback.
int ReadNumber(const CRegFile& store, std::string_view name, int fallback)
{
    const Value* value = store.Find(kCommKey, name);
    if (!value || value->data.size() > 4)
        return fallback;
    auto number = static_cast<std::uint32_t>(fallback);
    for (std::size_t i = 0; i < value->data.size(); ++i) {
        number &= ~(0xFFu << (8 * i));
        number |= static_cast<std::uint32_t>(static_cast<unsigned char>(value->data[i])) << (8 * i);
    }
    return static_cast<int>(number);
}

// A text stored with its terminator, cut at its first NUL and at `maxLength` bytes.
Value TextValue(const std::string& name, std::string_view text,
                std::size_t maxLength = std::string::npos)
{
    const std::size_t length = std::min(strnlen(text.data(), text.size()), maxLength);
    return {name, kRegSz, std::string(text.substr(0, length)) + '\0'};
}

Value NumberValue(const std::string& name, int number)
{
    const auto value = static_cast<std::uint32_t>(number);
    std::string bytes(4, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(value >> (8 * i));
    return {name, kRegDword, bytes};
}

base::Failure Invalid(const std::string& path, const std::string& what)
{
    return {base::FailureKind::StoreValueInvalid, path, what};
}

base::Failure DecodeComm(const CRegFile& store, const std::string& path, CommSettings& comm)
{
    const CommSettings defaults;
    const std::string connection =
        ReadText(store, kCommKey, "Connection", kCommText).value_or("");
    // No connection stored: the rest is not read.
    if (connection.empty())
        return {};
    comm.Connection = ConnectionKindOf(connection);
    if (comm.Connection == ConnectionKind::None)
        comm.UnnamedConnection = connection;
    comm.ComPort = ReadNumber(store, "ComPort", defaults.ComPort);
    comm.BaudRate = ReadNumber(store, "BaudRate", defaults.BaudRate);
    comm.ByteSize = ReadNumber(store, "ByteSize", defaults.ByteSize);
    const std::string parityText = ReadText(store, kCommKey, "Parity", kCommText)
                                       .value_or(ParityName(defaults.Parity));
    const std::optional<Parity> parity = ParityOf(parityText);
    if (!parity)
        return Invalid(path, "\"Parity\"=\"" + parityText +
                                 "\" is none of \"none\", \"even\", \"odd\"");
    comm.Parity = *parity;
    const int stopNumber = ReadNumber(store, "StopBits", static_cast<int>(defaults.StopBits));
    const std::optional<StopBits> stopBits = StopBitsOf(stopNumber);
    if (!stopBits)
        return Invalid(path, "\"StopBits\"=" + std::to_string(stopNumber) + " is not 1 or 2");
    comm.StopBits = *stopBits;
    return {};
}

std::vector<std::string> DecodeRecentFiles(const CRegFile& store)
{
    std::vector<std::string> files;
    for (int i = 0; i < UserSettings::kRecentFiles; ++i) {
        const std::optional<std::string> path =
            ReadText(store, kRecentKey, "File" + std::to_string(i + 1), kRecentPath);
        if (path && !path->empty() && std::find(files.begin(), files.end(), *path) == files.end())
            files.push_back(*path);
    }
    return files;
}

CPortMap DecodePorts(const CRegFile& store)
{
    CPortMap::Texts texts;
    for (const Value& value : store.Values(kPortsKey)) {
        std::string text(value.data.c_str(), strnlen(value.data.c_str(), value.data.size()));
        if (!text.empty())
            texts[value.name] = text;
    }
    return CPortMap(std::move(texts));
}

void EncodeComm(const CommSettings& comm, CRegFile& store)
{
    // As the Save button writes them: all seven, a port below 1 raised to 1.
    const Value values[] = {
        TextValue("Protocol", comm.Protocol, kCommText.length),
        TextValue("Connection", comm.ConnectionText(), kCommText.length),
        NumberValue("ComPort", std::max(comm.ComPort, 1)),
        NumberValue("BaudRate", comm.BaudRate),
        NumberValue("ByteSize", comm.ByteSize),
        TextValue("Parity", ParityName(comm.Parity), kCommText.length),
        NumberValue("StopBits", static_cast<int>(comm.StopBits)),
    };
    for (const Value& value : values)
        store.Set(kCommKey, value);
}

void EncodeRecentFiles(const std::vector<std::string>& files, CRegFile& store)
{
    for (std::size_t i = 0; i < UserSettings::kRecentFiles; ++i) {
        const std::string name = "File" + std::to_string(i + 1);
        if (i < files.size())
            store.Set(kRecentKey, TextValue(name, files[i]));
        else
            store.Remove(kRecentKey, name);
    }
}

void EncodePorts(const CPortMap& before, const CPortMap& after, CRegFile& store)
{
    for (const auto& [name, text] : before.StoredTexts()) {
        if (!after.StoredTexts().contains(name))
            store.Remove(kPortsKey, name);
    }
    for (const auto& [name, text] : after.StoredTexts()) {
        const auto old = before.StoredTexts().find(name);
        if (old == before.StoredTexts().end() || old->second != text)
            store.Set(kPortsKey, TextValue(name, text));
    }
}

} // namespace

base::Failure Decode(const CRegFile& store, const std::string& path, UserSettings& out)
{
    out = UserSettings();
    if (base::Failure failure = DecodeComm(store, path, out.Comm); failure.Failed())
        return failure;
    out.HeadlineCleanup = ReadNumber(store, "HeadlineCleanup", 1) != 0;
    out.RecentFiles = DecodeRecentFiles(store);
    out.Ports = DecodePorts(store);
    out.WebPasswordHash = ReadText(store, kWebKey, "PasswordHash", kPasswordHash).value_or("");
    return {};
}

void Encode(const UserSettings& before, const UserSettings& after, CRegFile& store)
{
    if (after.Comm != before.Comm)
        EncodeComm(after.Comm, store);
    if (after.HeadlineCleanup != before.HeadlineCleanup)
        store.Set(kCommKey, NumberValue("HeadlineCleanup", after.HeadlineCleanup ? 1 : 0));
    if (after.RecentFiles != before.RecentFiles)
        EncodeRecentFiles(after.RecentFiles, store);
    if (after.Ports != before.Ports)
        EncodePorts(before.Ports, after.Ports, store);
    if (after.WebPasswordHash != before.WebPasswordHash) {
        if (after.WebPasswordHash.empty())
            store.Remove(kWebKey, "PasswordHash");
        else
            store.Set(kWebKey, TextValue("PasswordHash", after.WebPasswordHash));
    }
}

} // namespace tickerlux::settings::usercodec
