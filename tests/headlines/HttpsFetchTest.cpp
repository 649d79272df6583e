// A page fetched over TLS from a server whose certificate a test authority signed.
#include "headlines/Fetch.h"
#include "tests/support/RunProgram.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tickerlux;
using namespace tickerlux::headlines;
using namespace tickerlux::base;
using namespace tickerlux::test;

extern char** environ;

namespace {

// `openssl s_server -www` on an ephemeral port of 127.0.0.1: it answers "GET /" with a page
// about the connection.
class CTlsServer {
public:
    CTlsServer(const std::string& cert, const std::string& key)
    {
        int out[2];
        if (pipe(out) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        // Line-buffered, so that its port comes out at once.
        const char* argv[] = {"stdbuf",     "-oL",     "openssl",     "s_server",
                              "-www",       "-accept", "127.0.0.1:0", "-cert",
                              cert.c_str(), "-key",    key.c_str(),   nullptr};
        posix_spawnp(&m_pid, "stdbuf", &actions, nullptr, const_cast<char**>(argv), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        m_out = fdopen(out[0], "r");
        char line[256];
        while (m_port == 0 && m_out && std::fgets(line, sizeof line, m_out))
            std::sscanf(line, "ACCEPT 127.0.0.1:%d", &m_port);
    }
    ~CTlsServer()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_out)
            std::fclose(m_out);
    }
    int Port() const { return m_port; }

private:
    pid_t m_pid = 0;
    FILE* m_out = nullptr;
    int m_port = 0;
};

void Openssl(const std::vector<std::string>& args)
{
    std::vector<std::string> argv{"/usr/bin/openssl"};
    argv.insert(argv.end(), args.begin(), args.end());
    const ProgramResult result = RunProgram(argv);
    ASSERT_EQ(result.exitCode, 0) << result.err;
}

TEST(HttpsFetchTest, VerifiesTheCertificateAgainstTheGivenAuthority)
{
    CTempDir dir;
    const std::vector<std::string> ec = {"-newkey", "ec",    "-pkeyopt", "ec_paramgen_curve:P-256",
                                         "-nodes",  "-days", "1"};
    std::vector<std::string> ca = {
        "req",  "-x509",           "-subj", "/CN=Test Authority", "-keyout", dir.File("ca.key"),
        "-out", dir.File("ca.pem")};
    ca.insert(ca.end(), ec.begin(), ec.end());
    ASSERT_NO_FATAL_FAILURE(Openssl(ca));
    std::vector<std::string> server = {"req",     "-x509",
                                       "-CA",     dir.File("ca.pem"),
                                       "-CAkey",  dir.File("ca.key"),
                                       "-subj",   "/CN=127.0.0.1",
                                       "-addext", "subjectAltName=IP:127.0.0.1",
                                       "-addext", "basicConstraints=critical,CA:FALSE",
                                       "-keyout", dir.File("server.key"),
                                       "-out",    dir.File("server.pem")};
    server.insert(server.end(), ec.begin(), ec.end());
    ASSERT_NO_FATAL_FAILURE(Openssl(server));

    CTlsServer tls(dir.File("server.pem"), dir.File("server.key"));
    ASSERT_NE(tls.Port(), 0);
    const std::string webServer = "HTTPS://127.0.0.1:" + std::to_string(tls.Port());
    headlines::FetchLimits limits{100000, {}, {}, {}, dir.File("ca.pem")};

    const headlines::FetchedPage trusted = headlines::Fetch(webServer, "/", limits);
    EXPECT_EQ(trusted.failure.kind, FailureKind::None) << trusted.failure.Text();
    EXPECT_NE(trusted.page.find("s_server"), std::string::npos) << trusted.page;

    limits.caFile.clear();
    const headlines::FetchedPage unknown = headlines::Fetch(webServer, "/", limits);
    EXPECT_EQ(unknown.failure.kind, FailureKind::CertificateRejected) << unknown.failure.Text();
    EXPECT_TRUE(unknown.page.empty());
}

} // namespace
