#pragma once

#include "base/Failure.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tickerlux::web {

// How hard a password hash is to compute (libsodium's Argon2id limits).
struct PasswordCost {
    unsigned long long opsLimit;
    std::size_t memLimit;
};
// The stored password's cost: libsodium's interactive limits (64 MiB).
PasswordCost InteractiveCost();

// A salted Argon2id hash of `password` in libsodium's string form; nothing when it cannot be
// made (out of memory).
std::optional<std::string> HashPassword(std::string_view password, PasswordCost cost);
// Whether `password` matches `hash`. One check at a time: each takes the hash's memory.
bool VerifyPassword(const std::string& hash, std::string_view password);

// Keeps `hash` in the per-user store (UserSettings::WebPasswordHash), where the next start
// finds it.
base::Failure StorePasswordHash(const std::string& hash);

} // namespace tickerlux::web
