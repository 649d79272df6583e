#include "tests/support/WatchProcess.h"

#include "tests/support/RunProgram.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace tickerlux::test {

CWatchProcess::CWatchProcess(const std::string& feedPath, const CTempDir& dir, bool closedOutput,
                             const std::vector<std::string>& extraArgs, const std::string& name)
    : m_outPath(dir.File(name + ".out")), m_errPath(dir.File(name + ".err"))
{
    std::vector<std::string> args = {BuildDir() + "/cli/tickerlux-cli", "watch", feedPath};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    int closedPipe[2] = {-1, -1};
    if (closedOutput && pipe2(closedPipe, O_CLOEXEC) == 0) {
        close(closedPipe[0]);
        posix_spawn_file_actions_adddup2(&actions, closedPipe[1], STDOUT_FILENO);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, m_outPath.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
    }
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, m_errPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const CDefaultSigpipe attributes;
    if (posix_spawn(&m_pid, argv[0], &actions, attributes.Attributes(), argv.data(), environ) != 0)
        m_pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    if (closedPipe[1] >= 0)
        close(closedPipe[1]);
}

CWatchProcess::~CWatchProcess()
{
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
}

int CWatchProcess::StopWith(int signal, int limitMs)
{
    kill(m_pid, signal);
    const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, m_pid, 0));
    pollfd fd{pidfd, POLLIN, 0};
    const bool ended = pidfd >= 0 && poll(&fd, 1, limitMs) == 1;
    close(pidfd);
    if (!ended)
        return -1;
    int status = 0;
    waitpid(m_pid, &status, 0);
    m_pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool CWatchProcess::WaitForOutput(const std::string& text, int limitMs) const
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (Out().find(text) == std::string::npos && Err().find(text) == std::string::npos) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        // The program writes its files; nothing can announce a line to this process.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

} // namespace tickerlux::test
