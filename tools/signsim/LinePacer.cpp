#include "tools/signsim/LinePacer.h"

#include <algorithm>
#include <cmath>

namespace tickerlux::signsim {

CLinePacer::Clock::time_point CLinePacer::Base(Clock::time_point now) const
{
    return std::max(m_next, now - std::chrono::duration_cast<Clock::duration>(kBurst));
}

std::size_t CLinePacer::Allowance(Clock::time_point now, double bytesPerSecond) const
{
    if (bytesPerSecond <= 0)
        return 0;
    const Clock::time_point base = Base(now);
    if (now < base)
        return 0;
    const double seconds = std::chrono::duration<double>(now - base).count();
    return static_cast<std::size_t>(std::floor(seconds * bytesPerSecond));
}

CLinePacer::Clock::time_point CLinePacer::NextByteAt(Clock::time_point now,
                                                     double bytesPerSecond) const
{
    const std::chrono::duration<double> byteTime(bytesPerSecond > 0 ? 1.0 / bytesPerSecond : 0.0);
    return Base(now) + std::chrono::duration_cast<Clock::duration>(byteTime);
}

void CLinePacer::Took(std::size_t count, Clock::time_point now, double bytesPerSecond)
{
    if (bytesPerSecond <= 0)
        return;
    const std::chrono::duration<double> lineTime(static_cast<double>(count) / bytesPerSecond);
    m_next = Base(now) + std::chrono::duration_cast<Clock::duration>(lineTime);
}

} // namespace tickerlux::signsim
