#include "cli/WatchClock.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>

namespace tickerlux::cli {

namespace {

volatile std::sig_atomic_t g_stopRequested = 0;
// Written to by the handler and by Wake() so that a wait in poll() ends at once (self-pipe).
int g_wakePipe[2] = {-1, -1};
struct sigaction g_oldInt;
struct sigaction g_oldTerm;
struct sigaction g_oldHup;
struct sigaction g_oldPipe;

extern "C" void OnStopSignal(int)
{
    const int savedErrno = errno;
    g_stopRequested = 1;
    // A second stop signal, of either kind, ends the process the default way.
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    sigaction(SIGINT, &byDefault, nullptr);
    sigaction(SIGTERM, &byDefault, nullptr);
    sigaction(SIGHUP, &byDefault, nullptr);
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = write(g_wakePipe[1], &byte, 1);
    errno = savedErrno;
}

} // namespace

CSignalWatchClock::CSignalWatchClock()
{
    if (pipe2(g_wakePipe, O_CLOEXEC | O_NONBLOCK) != 0)
        throw std::runtime_error("cannot create the wake-up pipe");
    g_stopRequested = 0;
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    // Restart interrupted calls so that a delivery in progress runs to its end. A download
    // still notices at once: the HTTP library's wait (poll) is never restarted.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &g_oldInt);
    sigaction(SIGTERM, &action, &g_oldTerm);
    // A closed terminal (SIGHUP) stops the watch as SIGTERM does, never in mid-delivery.
    sigaction(SIGHUP, &action, &g_oldHup);
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &g_oldPipe);
}

CSignalWatchClock::~CSignalWatchClock()
{
    sigaction(SIGINT, &g_oldInt, nullptr);
    sigaction(SIGTERM, &g_oldTerm, nullptr);
    sigaction(SIGHUP, &g_oldHup, nullptr);
    sigaction(SIGPIPE, &g_oldPipe, nullptr);
    close(g_wakePipe[0]);
    close(g_wakePipe[1]);
    g_wakePipe[0] = g_wakePipe[1] = -1;
}

CSignalWatchClock::TimePoint CSignalWatchClock::Now()
{
    return std::chrono::steady_clock::now();
}

bool CSignalWatchClock::WaitUntil(TimePoint deadline)
{
    for (;;) {
        if (g_stopRequested)
            return false;
        const auto remaining = deadline - Now();
        if (remaining <= TimePoint::duration::zero())
            return true;
        // Round up so the wait never ends just before the deadline and spins.
        const auto ms = std::chrono::ceil<std::chrono::milliseconds>(remaining).count();
        pollfd fd{g_wakePipe[0], POLLIN, 0};
        if (poll(&fd, 1, ms > 60000 ? 60000 : static_cast<int>(ms)) == 1 && !g_stopRequested) {
            // Woken: empty the pipe, so that the next wait waits until something new comes.
            char bytes[64];
            while (read(g_wakePipe[0], bytes, sizeof bytes) > 0) {
            }
            return true;
        }
    }
}

void CSignalWatchClock::Wake()
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = write(g_wakePipe[1], &byte, 1);
}

bool CSignalWatchClock::StopRequested()
{
    return g_stopRequested != 0;
}

} // namespace tickerlux::cli
