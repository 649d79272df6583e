#pragma once

#include "web/Clock.h"

#include <cstddef>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace tickerlux::web {

// The browsers' sessions: a random id (the cookie), a random token that every change must carry
// back (X-Tickerlux-Token), and whether the session has logged in. The least recently used
// session goes when there are too many; one left unused for long expires.
class CSessions {
public:
    static constexpr std::size_t kMaxSessions = 64;
    static constexpr std::chrono::hours kIdleLimit{12};

    struct Session {
        std::string token;
        bool loggedIn = false;
    };

    explicit CSessions(SteadyClock clock) : m_clock(std::move(clock)) {}

    // A new session; returns its id.
    std::string Create(bool loggedIn);
    // The session with id `id`, if it is there and not expired (its idle time starts again).
    std::optional<Session> Find(const std::string& id);
    void LogIn(const std::string& id);
    void Remove(const std::string& id);

    // 32 random bytes in hex.
    static std::string RandomHex();

private:
    struct Entry {
        Session session;
        std::chrono::steady_clock::time_point lastUse;
    };

    SteadyClock m_clock;
    std::mutex m_mutex;
    std::map<std::string, Entry> m_sessions;
};

// Compares two secrets in a time that does not depend on where they differ.
bool SameSecret(const std::string& a, const std::string& b);

} // namespace tickerlux::web
