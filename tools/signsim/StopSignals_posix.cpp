#include "tools/signsim/StopSignals.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <system_error>
#include <unistd.h>

namespace tickerlux::signsim {

namespace {

int g_pipe[2] = {-1, -1};
constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

void WriteStopByte()
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = write(g_pipe[1], &byte, 1);
}

extern "C" void OnStopSignal(int)
{
    const int savedErrno = errno;
    WriteStopByte();
    errno = savedErrno;
}

} // namespace

CStopSignals::CStopSignals()
{
    if (pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        throw std::system_error(errno, std::generic_category(), "pipe2");
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : kStopSignals)
        sigaction(signal, &action, nullptr);
    action.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &action, nullptr);
}

CStopSignals::~CStopSignals()
{
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (const int signal : kStopSignals)
        sigaction(signal, &action, nullptr);
    close(g_pipe[0]);
    close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

int CStopSignals::Fd() const
{
    return g_pipe[0];
}

void CStopSignals::Request() const
{
    WriteStopByte();
}

bool CStopSignals::Arrived() const
{
    pollfd fd{g_pipe[0], POLLIN, 0};
    return poll(&fd, 1, 0) > 0;
}

} // namespace tickerlux::signsim
