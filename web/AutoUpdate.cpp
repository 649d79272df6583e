#include "web/AutoUpdate.h"

#include "engine/UpdateInterval.h"

namespace tickerlux::web {

void CAutoUpdate::Poll(std::optional<int> minutes, TimePoint now)
{
    if (minutes != m_minutes) {
        m_minutes = minutes;
        if (minutes)
            m_due = now + engine::interval::TimerPeriod(*minutes);
        return;
    }
    if (!m_minutes || now < m_due)
        return;
    m_tick();
    const auto period = engine::interval::TimerPeriod(*m_minutes);
    m_due += period;
    if (m_due <= now)
        m_due = now + period;
}

} // namespace tickerlux::web
