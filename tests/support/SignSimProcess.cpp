#include "tests/support/SignSimProcess.h"

#include "tests/support/TempDir.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace tickerlux::test {

namespace {

using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Clock::time_point deadline)
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

} // namespace

CSignSimProcess::CSignSimProcess(std::optional<int> comPort, std::vector<std::string> extraArgs)
{
    std::vector<std::string> args = {BuildDir() + "/tools/signsim/tickerlux-signsim", "--json"};
    if (comPort) {
        args.push_back("--com");
        args.push_back(std::to_string(*comPort));
    }
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe2 failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    const int error = posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    m_out = fds[0];
    if (error != 0) {
        close(m_out);
        throw std::runtime_error("cannot start " + args[0]);
    }

    const std::optional<Event> ready = Next();
    if (!ready || ready->value("event", "") != "ready") {
        Stop();
        throw std::runtime_error("tickerlux-signsim did not report \"ready\"");
    }
    m_device = ready->value("device", "");
}

CSignSimProcess::~CSignSimProcess()
{
    if (m_pid > 0)
        Stop();
    if (m_out >= 0)
        close(m_out);
}

bool CSignSimProcess::ReadMore(Clock::time_point deadline)
{
    const std::size_t before = m_events.size();
    while (m_events.size() == before && !m_ended) {
        pollfd fd{m_out, POLLIN, 0};
        const int ready = poll(&fd, 1, MillisecondsLeft(deadline));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        char buffer[65536];
        const ssize_t got = read(m_out, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            m_ended = true;
            break;
        }
        m_partial.append(buffer, static_cast<std::size_t>(got));
        std::size_t end;
        while ((end = m_partial.find('\n')) != std::string::npos) {
            const std::string line = m_partial.substr(0, end);
            m_partial.erase(0, end + 1);
            // Throws on anything that is not one valid JSON value (invalid UTF-8 included).
            m_events.push_back(Event::parse(line));
        }
    }
    return m_events.size() > before;
}

std::optional<CSignSimProcess::Event> CSignSimProcess::Next(std::chrono::milliseconds timeout)
{
    const Clock::time_point deadline = Clock::now() + timeout;
    while (m_next == m_events.size())
        if (!ReadMore(deadline))
            return std::nullopt;
    return m_events[m_next++];
}

std::optional<CSignSimProcess::Event> CSignSimProcess::WaitFor(
    const std::function<bool(const Event&)>& match, std::chrono::milliseconds timeout)
{
    const Clock::time_point deadline = Clock::now() + timeout;
    for (;;) {
        std::optional<Event> event = Next(std::chrono::milliseconds(MillisecondsLeft(deadline)));
        if (!event || match(*event))
            return event;
    }
}

std::optional<CSignSimProcess::Event> CSignSimProcess::WaitForEvent(
    const std::string& name, std::chrono::milliseconds timeout)
{
    return WaitFor([&](const Event& event) { return event.value("event", "") == name; }, timeout);
}

int CSignSimProcess::Reap(std::chrono::milliseconds timeout)
{
    // The simulator's output ends when it exits; then waitpid returns at once.
    const Clock::time_point deadline = Clock::now() + timeout;
    while (!m_ended && (ReadMore(deadline) || Clock::now() < deadline)) {
    }
    if (!m_ended)
        kill(m_pid, SIGKILL);
    int status = 0;
    while (waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
    m_pid = -1;
    m_status = m_ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return m_status;
}

int CSignSimProcess::Stop()
{
    if (m_pid <= 0)
        return m_status;
    kill(m_pid, SIGTERM);
    kill(m_pid, SIGCONT);  // a paused simulator hears the stop only once it goes on
    return Reap(kDefaultTimeout);
}

void CSignSimProcess::Pause(bool paused) const
{
    kill(m_pid, paused ? SIGSTOP : SIGCONT);
}

int CSignSimProcess::WaitForExit(std::chrono::milliseconds timeout)
{
    if (m_pid <= 0)
        return m_status;
    return Reap(timeout);
}

} // namespace tickerlux::test
