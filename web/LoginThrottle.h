#pragma once

#include "web/Clock.h"

#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace tickerlux::web {

// Slows down guessing: after a few failed logins from one address, that address must wait before
// it may try again, twice as long after each further failure, up to a limit.
class CLoginThrottle {
public:
    static constexpr int kFreeAttempts = 3;
    static constexpr std::chrono::seconds kFirstWait{2};
    static constexpr std::chrono::seconds kLongestWait{900};

    explicit CLoginThrottle(SteadyClock clock) : m_clock(std::move(clock)) {}

    // How long `client` must still wait before it may try a password; nothing when it may now.
    std::optional<std::chrono::seconds> WaitFor(const std::string& client);
    void Failed(const std::string& client);
    void Succeeded(const std::string& client);

private:
    struct Record {
        int failures = 0;
        std::chrono::steady_clock::time_point lockedUntil;
    };

    SteadyClock m_clock;
    std::mutex m_mutex;
    std::map<std::string, Record> m_clients;
};

} // namespace tickerlux::web
