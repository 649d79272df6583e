#pragma once

#include "cli/CliUserInterface.h"
#include "cli/WatchClock.h"

namespace tickerlux::cli {

// The CLI's user interface for a long-running command: every message and failure line starts
// with the local time, so a log shows when it happened, and a stop request of `clock` abandons a
// download in progress.
class CWatchUserInterface : public CCliUserInterface {
public:
    explicit CWatchUserInterface(IWatchClock& clock) : m_clock(clock) {}

    void MessageBox(const std::string& text) override;
    bool StopRequested() override { return m_clock.StopRequested(); }

protected:
    void PrintLine(const std::string& text) override;

private:
    IWatchClock& m_clock;
};

} // namespace tickerlux::cli
