#pragma once

#include <chrono>
#include <functional>

namespace tickerlux::web {

// The time as the server reads it; tests give their own.
using SteadyClock = std::function<std::chrono::steady_clock::time_point()>;

inline SteadyClock RealClock()
{
    return [] { return std::chrono::steady_clock::now(); };
}

} // namespace tickerlux::web
