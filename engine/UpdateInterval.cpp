#include "engine/UpdateInterval.h"

#include <algorithm>

namespace interval {
namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The leading number of `text`, saturated just above the largest valid interval so that any
// count of digits stays in range.
long long LeadingNumber(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i)
        value = std::min<long long>(value * 10 + (text[i] - '0'), kMaxMinutes + 1);
    return negative ? -value : value;
}

} // namespace

UpdateMinutes GetUpdateMinutes(std::string& text)
{
    if (text.empty())
        return {kDefaultMinutes, false};
    const long long value = LeadingNumber(text);
    if (value < kMinMinutes) {
        text = std::to_string(kMinMinutes);
        return {kMinMinutes, true};
    }
    if (value > kMaxMinutes) {
        text = std::to_string(kMaxMinutes);
        return {kMaxMinutes, true};
    }
    return {static_cast<int>(value), false};
}

std::chrono::milliseconds TimerPeriod(int minutes)
{
    return std::chrono::minutes(std::clamp(minutes, kMinMinutes, kMaxMinutes));
}

} // namespace interval
