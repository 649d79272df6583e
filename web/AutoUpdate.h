#pragma once

#include <chrono>
#include <functional>
#include <optional>

namespace tickerlux::web {

// "Auto Update Every:": runs `tick` every interval while the feed asks for it. The owner polls it
// with the interval in force and the time; a changed interval starts the period afresh, as the
// form's timer restarts when the box or the check box changes. Slots missed while the owner was
// away are skipped.
class CAutoUpdate {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    explicit CAutoUpdate(std::function<void()> tick) : m_tick(std::move(tick)) {}

    void Poll(std::optional<int> minutes, TimePoint now);

private:
    std::function<void()> m_tick;
    std::optional<int> m_minutes;
    TimePoint m_due;
};

} // namespace tickerlux::web
