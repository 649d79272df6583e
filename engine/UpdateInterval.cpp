#include "engine/UpdateInterval.h"

#include "base/Decimal.h"

#include <algorithm>

namespace tickerlux::engine::interval {

UpdateMinutes GetUpdateMinutes(std::string& text)
{
    if (text.empty())
        return {kDefaultMinutes, false};
    const int value = base::LeadingDecimal(text);
    if (value < kMinMinutes) {
        text = std::to_string(kMinMinutes);
        return {kMinMinutes, true};
    }
    if (value > kMaxMinutes) {
        text = std::to_string(kMaxMinutes);
        return {kMaxMinutes, true};
    }
    return {value, false};
}

std::chrono::milliseconds TimerPeriod(int minutes)
{
    return std::chrono::minutes(std::clamp(minutes, kMinMinutes, kMaxMinutes));
}

} // namespace tickerlux::engine::interval
