#pragma once

#include <cstdio>
#include <string>
#include <sys/types.h>

namespace tickerlux::test {

// Writes into `dir` a certificate authority made for the test (ca.pem, ca.key) and a
// certificate for 127.0.0.1 that it signed (server.pem, server.key); fails the test on error.
void MakeTestCertificates(const std::string& dir);

// `openssl s_server` with the certificates that MakeTestCertificates wrote into `certDir`, on an
// ephemeral port of 127.0.0.1. Without `servedDir` it answers "GET /" with a page about the
// connection; with it, it serves that folder's files ("GET /feed.xml").
class CTlsServer {
public:
    explicit CTlsServer(const std::string& certDir, const std::string& servedDir = "");
    ~CTlsServer();
    CTlsServer(const CTlsServer&) = delete;
    CTlsServer& operator=(const CTlsServer&) = delete;

    int Port() const { return m_port; }  // 0 when it did not start

private:
    pid_t m_pid = 0;
    FILE* m_out = nullptr;
    int m_port = 0;
};

} // namespace tickerlux::test
