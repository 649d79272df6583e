#include "web/Sessions.h"

#include <sodium.h>

#include <algorithm>
#include <stdexcept>

namespace tickerlux::web {

std::string CSessions::RandomHex()
{
    if (sodium_init() < 0)
        throw std::runtime_error("libsodium cannot start");
    unsigned char bytes[32];
    randombytes_buf(bytes, sizeof bytes);
    char hex[sizeof bytes * 2 + 1];
    sodium_bin2hex(hex, sizeof hex, bytes, sizeof bytes);
    return hex;
}

std::string CSessions::Create(bool loggedIn)
{
    std::string id = RandomHex();
    const std::lock_guard lock(m_mutex);
    if (m_sessions.size() >= kMaxSessions) {
        const auto oldest = std::ranges::min_element(
            m_sessions, [](const auto& a, const auto& b) { return a.second.lastUse < b.second.lastUse; });
        m_sessions.erase(oldest);
    }
    m_sessions[id] = {{RandomHex(), loggedIn}, m_clock()};
    return id;
}

std::optional<CSessions::Session> CSessions::Find(const std::string& id)
{
    const std::lock_guard lock(m_mutex);
    const auto found = m_sessions.find(id);
    if (found == m_sessions.end())
        return std::nullopt;
    const auto now = m_clock();
    if (now - found->second.lastUse > kIdleLimit) {
        m_sessions.erase(found);
        return std::nullopt;
    }
    found->second.lastUse = now;
    return found->second.session;
}

void CSessions::LogIn(const std::string& id)
{
    const std::lock_guard lock(m_mutex);
    if (const auto found = m_sessions.find(id); found != m_sessions.end())
        found->second.session.loggedIn = true;
}

void CSessions::Remove(const std::string& id)
{
    const std::lock_guard lock(m_mutex);
    m_sessions.erase(id);
}

bool SameSecret(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && sodium_memcmp(a.data(), b.data(), a.size()) == 0;
}

} // namespace tickerlux::web
