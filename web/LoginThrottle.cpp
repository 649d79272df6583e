#include "web/LoginThrottle.h"

#include <algorithm>

namespace tickerlux::web {
namespace {
// Addresses remembered at most: past it, those no longer locked are forgotten.
constexpr std::size_t kMaxClients = 4096;
} // namespace

std::optional<std::chrono::seconds> CLoginThrottle::WaitFor(const std::string& client)
{
    const std::lock_guard lock(m_mutex);
    const auto found = m_clients.find(client);
    const auto now = m_clock();
    if (found == m_clients.end() || found->second.lockedUntil <= now)
        return std::nullopt;
    // Rounded up, so that a client that waits as told is let in.
    return std::chrono::ceil<std::chrono::seconds>(found->second.lockedUntil - now);
}

void CLoginThrottle::Failed(const std::string& client)
{
    const std::lock_guard lock(m_mutex);
    const auto now = m_clock();
    if (m_clients.size() >= kMaxClients)
        std::erase_if(m_clients, [now](const auto& entry) { return entry.second.lockedUntil <= now; });
    Record& record = m_clients[client];
    ++record.failures;
    if (record.failures < kFreeAttempts)
        return;
    const int doublings = std::min(record.failures - kFreeAttempts, 10);
    record.lockedUntil = now + std::min<std::chrono::seconds>(kFirstWait * (1 << doublings), kLongestWait);
}

void CLoginThrottle::Succeeded(const std::string& client)
{
    const std::lock_guard lock(m_mutex);
    m_clients.erase(client);
}

} // namespace tickerlux::web
