#include "tests/support/RunProgram.h"

#include "tests/support/TempDir.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace tickerlux::test {

namespace {

std::vector<std::string> MergedEnvironment(
    const std::vector<std::pair<std::string, std::string>>& changes)
{
    std::map<std::string, std::string> merged;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        const auto equals = text.find('=');
        if (equals != std::string::npos)
            merged[text.substr(0, equals)] = text.substr(equals + 1);
    }
    for (const auto& [name, value] : changes)
        merged[name] = value;
    std::vector<std::string> lines;
    for (const auto& [name, value] : merged)
        lines.push_back(name + "=" + value);
    return lines;
}

std::vector<char*> Pointers(std::vector<std::string>& texts)
{
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

struct Pipe {
    int fds[2] = {-1, -1};
    Pipe()
    {
        if (pipe2(fds, O_CLOEXEC) != 0)
            throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
    }
    ~Pipe() { CloseBoth(); }
    void Close(int end)
    {
        if (fds[end] >= 0)
            close(fds[end]);
        fds[end] = -1;
    }
    void CloseBoth()
    {
        Close(0);
        Close(1);
    }
};

} // namespace

CDefaultSigpipe::CDefaultSigpipe()
{
    posix_spawnattr_init(&m_attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&m_attributes, &defaults);
    posix_spawnattr_setflags(&m_attributes, POSIX_SPAWN_SETSIGDEF);
}

namespace {

// `repeat`: the input starts again whenever it has all been written.
ProgramResult Run(const std::vector<std::string>& argv,
                  const std::vector<std::pair<std::string, std::string>>& env,
                  const std::string& input, bool repeat)
{
    Pipe in, out, err;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in.fds[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out.fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err.fds[1], STDERR_FILENO);

    std::vector<std::string> args = argv;
    std::vector<std::string> environment = MergedEnvironment(env);
    std::vector<char*> argPointers = Pointers(args);
    std::vector<char*> envPointers = Pointers(environment);
    // A program that exits without reading all its input must not kill this process with
    // SIGPIPE; the program itself starts with the default action.
    signal(SIGPIPE, SIG_IGN);
    const CDefaultSigpipe attributes;

    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argPointers[0], &actions, attributes.Attributes(),
                                    argPointers.data(), envPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        throw std::runtime_error("cannot start " + argv[0] + ": " + std::strerror(spawned));
    in.Close(0);
    out.Close(1);
    err.Close(1);

    // Feed the input and drain both outputs together, so that neither side can block the other.
    ProgramResult result;
    std::size_t written = 0;
    if (input.empty())
        in.Close(1);
    for (;;) {
        pollfd fds[3] = {{out.fds[0], POLLIN, 0}, {err.fds[0], POLLIN, 0}, {in.fds[1], POLLOUT, 0}};
        const nfds_t count = in.fds[1] >= 0 ? 3 : 2;
        if (out.fds[0] < 0 && err.fds[0] < 0)
            break;
        if (poll(fds, count, -1) < 0) {
            if (errno == EINTR)
                continue;
            throw std::runtime_error(std::string("poll: ") + std::strerror(errno));
        }
        if (count == 3 && fds[2].revents) {
            // EPIPE: the program stopped reading; what it did not read is its business.
            const ssize_t n = write(in.fds[1], input.data() + written, input.size() - written);
            if (n > 0)
                written += static_cast<std::size_t>(n);
            if (repeat && written == input.size())
                written = 0;
            if (n < 0 || written == input.size())
                in.Close(1);
        }
        Pipe* readers[2] = {&out, &err};
        std::string* sinks[2] = {&result.out, &result.err};
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !fds[i].revents)
                continue;
            char buffer[4096];
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0)
                sinks[i]->append(buffer, static_cast<std::size_t>(n));
            else if (n == 0 || errno != EINTR)
                readers[i]->Close(0);
        }
    }
    in.Close(1);

    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

} // namespace

ProgramResult RunProgram(const std::vector<std::string>& argv,
                         const std::vector<std::pair<std::string, std::string>>& env,
                         const std::string& input)
{
    return Run(argv, env, input, false);
}

ProgramResult RunProgramOnEndlessInput(const std::vector<std::string>& argv,
                                       const std::string& unit)
{
    // Whole units in blocks of at least 64 KiB, so that writing takes few system calls.
    std::string block;
    while (block.size() < 65536)
        block += unit;
    return Run(argv, {}, block, true);
}

ProgramResult RunCli(const std::vector<std::string>& args)
{
    std::vector<std::string> argv{BuildDir() + "/cli/tickerlux-cli"};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunProgram(argv);
}

} // namespace tickerlux::test
