#include "tests/support/TlsServer.h"

#include "tests/support/RunProgram.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace tickerlux::test {

namespace {

void Openssl(const std::vector<std::string>& args)
{
    std::vector<std::string> argv{"/usr/bin/openssl"};
    argv.insert(argv.end(), args.begin(), args.end());
    const ProgramResult result = RunProgram(argv);
    ASSERT_EQ(result.exitCode, 0) << result.err;
}

} // namespace

void MakeTestCertificates(const std::string& dir)
{
    const std::vector<std::string> ec = {"-newkey", "ec",    "-pkeyopt", "ec_paramgen_curve:P-256",
                                         "-nodes",  "-days", "1"};
    std::vector<std::string> ca = {"req",     "-x509",           "-subj",
                                   "/CN=Test Authority", "-keyout", dir + "/ca.key",
                                   "-out",    dir + "/ca.pem"};
    ca.insert(ca.end(), ec.begin(), ec.end());
    ASSERT_NO_FATAL_FAILURE(Openssl(ca));
    std::vector<std::string> server = {"req",     "-x509",
                                       "-CA",     dir + "/ca.pem",
                                       "-CAkey",  dir + "/ca.key",
                                       "-subj",   "/CN=127.0.0.1",
                                       "-addext", "subjectAltName=IP:127.0.0.1",
                                       "-addext", "basicConstraints=critical,CA:FALSE",
                                       "-keyout", dir + "/server.key",
                                       "-out",    dir + "/server.pem"};
    server.insert(server.end(), ec.begin(), ec.end());
    ASSERT_NO_FATAL_FAILURE(Openssl(server));
}

CTlsServer::CTlsServer(const std::string& certDir, const std::string& servedDir)
{
    int out[2];
    if (pipe(out) != 0)
        return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    if (!servedDir.empty())
        posix_spawn_file_actions_addchdir_np(&actions, servedDir.c_str());
    const std::string cert = certDir + "/server.pem";
    const std::string key = certDir + "/server.key";
    // Line-buffered, so that its port comes out at once.
    const char* argv[] = {"stdbuf",     "-oL",     "openssl",     "s_server",
                          servedDir.empty() ? "-www" : "-WWW", "-accept", "127.0.0.1:0", "-cert",
                          cert.c_str(), "-key",    key.c_str(),   nullptr};
    posix_spawnp(&m_pid, "stdbuf", &actions, nullptr, const_cast<char**>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    m_out = fdopen(out[0], "r");
    char line[256];
    while (m_port == 0 && m_out && std::fgets(line, sizeof line, m_out))
        std::sscanf(line, "ACCEPT 127.0.0.1:%d", &m_port);
}

CTlsServer::~CTlsServer()
{
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
    }
    if (m_out)
        std::fclose(m_out);
}

} // namespace tickerlux::test
