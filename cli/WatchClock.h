#pragma once

#include <chrono>

namespace tickerlux::cli {

// Time as `watch` sees it: a monotonic clock whose waits end early on a stop request. Tests
// drive a fake one, so no test waits a real minute.
class IWatchClock {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    virtual ~IWatchClock() = default;
    virtual TimePoint Now() = 0;
    // Returns true once `deadline` has come, or earlier when the clock was woken (see
    // CSignalWatchClock::Wake); false as soon as a stop is requested (also when one was requested
    // before the call).
    virtual bool WaitUntil(TimePoint deadline) = 0;
    virtual bool StopRequested() = 0;
};

// The steady clock, with SIGINT, SIGTERM and SIGHUP as stop requests while the object lives (the
// earlier handlers come back afterwards). After the first of them a second one, of either kind,
// ends the process the default way, so a user can still break off a long delivery. SIGPIPE is
// ignored meanwhile: a closed output is a write error to report, not the end of the process.
// One object at a time per process.
class CSignalWatchClock : public IWatchClock {
public:
    CSignalWatchClock();
    ~CSignalWatchClock() override;
    CSignalWatchClock(const CSignalWatchClock&) = delete;
    CSignalWatchClock& operator=(const CSignalWatchClock&) = delete;

    TimePoint Now() override;
    bool WaitUntil(TimePoint deadline) override;
    bool StopRequested() override;
    // Ends the wait in progress, or the next one, early. Safe from any thread.
    void Wake();
};

} // namespace tickerlux::cli
