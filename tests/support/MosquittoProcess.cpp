#include "tests/support/MosquittoProcess.h"

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <netinet/in.h>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace tickerlux::test {

namespace {

sockaddr_in Loopback(int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// A port that is free now: the kernel's choice for a socket bound to port 0.
int FreePort()
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = Loopback(0);
    socklen_t length = sizeof address;
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("no free port");
    close(fd);
    return ntohs(address.sin_port);
}

bool TakesConnections(int port)
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address = Loopback(port);
    const bool connected =
        connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return connected;
}

} // namespace

CMosquittoProcess::CMosquittoProcess(bool start) : m_port(FreePort())
{
    WriteFileBytes(m_dir.File("mosquitto.conf"),
                   "listener " + std::to_string(m_port) + " 127.0.0.1\n"
                   "allow_anonymous true\npersistence false\n");
    if (start)
        Start();
}

CMosquittoProcess::~CMosquittoProcess()
{
    Kill();
}

void CMosquittoProcess::Start()
{
    std::string program = "/usr/sbin/mosquitto";
    std::string option = "-c";
    std::string config = m_dir.File("mosquitto.conf");
    char* argv[] = {program.data(), option.data(), config.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, m_dir.File("mosquitto.log").c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0600);
    const int error = posix_spawn(&m_pid, argv[0], &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        throw std::runtime_error("cannot start " + program);
    // The broker opens its port a moment after it starts; nothing announces it.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!TakesConnections(m_port)) {
        if (waitpid(m_pid, nullptr, WNOHANG) != 0)
            m_pid = -1;
        if (m_pid < 0 || std::chrono::steady_clock::now() > deadline)
            throw std::runtime_error("mosquitto did not start: " +
                                     ReadFileBytes(m_dir.File("mosquitto.log")));
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void CMosquittoProcess::Kill()
{
    if (m_pid <= 0)
        return;
    kill(m_pid, SIGKILL);
    waitpid(m_pid, nullptr, 0);
    m_pid = -1;
}

} // namespace tickerlux::test
