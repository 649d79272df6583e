#pragma once

#include "tests/support/TempDir.h"

#include <string>
#include <sys/types.h>
#include <vector>

// `tickerlux-cli watch FEED.tlx EXTRA...` as a child process, its output in the files NAME.out
// and NAME.err of `dir`, so that a test can signal it and read what it said.
namespace tickerlux::test {

class CWatchProcess {
public:
    // With `closedOutput` its standard output is a pipe that nobody reads any more.
    CWatchProcess(const std::string& feedPath, const CTempDir& dir, bool closedOutput = false,
                  const std::vector<std::string>& extraArgs = {},
                  const std::string& name = "watch");
    ~CWatchProcess();
    CWatchProcess(const CWatchProcess&) = delete;
    CWatchProcess& operator=(const CWatchProcess&) = delete;

    bool Started() const { return m_pid > 0; }

    // Sends `signal` and returns the exit status, or -1 when the program does not end within
    // `limitMs` or ends by a signal.
    int StopWith(int signal, int limitMs = 30000);

    std::string Out() const { return ReadFileBytes(m_outPath); }
    std::string Err() const { return ReadFileBytes(m_errPath); }
    // Waits until standard output or error holds `text`, up to `limitMs`; false when it never does.
    bool WaitForOutput(const std::string& text, int limitMs = 30000) const;

    pid_t Pid() const { return m_pid; }

private:
    std::string m_outPath;
    std::string m_errPath;
    pid_t m_pid = -1;
};

} // namespace tickerlux::test
