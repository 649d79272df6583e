#include "web/Password.h"

#include "settings/UserSettings.h"

#include <sodium.h>

#include <mutex>
#include <stdexcept>

namespace tickerlux::web {
namespace {

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

base::Failure StorePasswordHash(const std::string& hash)
{
    return settings::UpdateUserSettings(
        [&hash](settings::UserSettings& stored) { stored.WebPasswordHash = hash; });
}

} // namespace tickerlux::web
