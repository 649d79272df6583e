#include "web/Password.h"

#include "settings/CommSettingsStore.h"
#include "settings/RegistryAccess.h"

#include <sodium.h>

#include <mutex>
#include <stdexcept>

namespace tickerlux::web {
namespace {

const std::string kWebKey = settings::commstore::kKey + "\\Web";
constexpr const char* kHashName = "PasswordHash";

void InitSodium()
{
    static const bool ready = sodium_init() >= 0;
    if (!ready)
        throw std::runtime_error("libsodium cannot start");
}

} // namespace

PasswordCost InteractiveCost()
{
    return {crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE};
}

std::optional<std::string> HashPassword(std::string_view password, PasswordCost cost)
{
    InitSodium();
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, password.data(), password.size(), cost.opsLimit, cost.memLimit) != 0)
        return std::nullopt;
    return std::string(hash);
}

bool VerifyPassword(const std::string& hash, std::string_view password)
{
    InitSodium();
    static std::mutex oneAtATime;
    const std::lock_guard lock(oneAtATime);
    return crypto_pwhash_str_verify(hash.c_str(), password.data(), password.size()) == 0;
}

std::optional<std::string> LoadPasswordHash()
{
    char hash[crypto_pwhash_STRBYTES] = {};
    std::uint32_t size = 0;
    if (!settings::CRegistryAccess().ReadValue(hash, &size, sizeof hash - 1, settings::RegRoot::CurrentUser, kWebKey,
                                     kHashName))
        return std::nullopt;
    std::string text(hash, size);
    text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
    if (text.empty())
        return std::nullopt;
    return text;
}

bool StorePasswordHash(const std::string& hash)
{
    // Stored as a registry text: its bytes and the closing NUL.
    return settings::CRegistryAccess().WriteValue(hash.c_str(), settings::kRegSz, static_cast<std::uint32_t>(hash.size() + 1),
                                        settings::RegRoot::CurrentUser, kWebKey, kHashName);
}

} // namespace tickerlux::web
