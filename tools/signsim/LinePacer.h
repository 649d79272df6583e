#pragma once

#include <chrono>
#include <cstddef>

namespace tickerlux::signsim {

// Takes bytes no faster than a serial line delivers them: a byte every bits-per-character /
// baud seconds, with at most a few milliseconds' worth taken at once.

class CLinePacer {
public:
    using Clock = std::chrono::steady_clock;

    // How many bytes the line has delivered by `now` at `bytesPerSecond` and not yet taken.
    std::size_t Allowance(Clock::time_point now, double bytesPerSecond) const;
    // When the next byte will have arrived, if none may be taken at `now`.
    Clock::time_point NextByteAt(Clock::time_point now, double bytesPerSecond) const;
    // Records that `count` bytes were taken at `now`.
    void Took(std::size_t count, Clock::time_point now, double bytesPerSecond);

private:
    // Credit that an idle line may build up: a burst no longer than this.
    static constexpr std::chrono::milliseconds kBurst{20};

    Clock::time_point Base(Clock::time_point now) const;

    Clock::time_point m_next{};   // when the line has delivered every byte taken so far
};

} // namespace tickerlux::signsim
