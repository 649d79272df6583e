// A page fetched over TLS from a server whose certificate a test authority signed.
#include "headlines/Fetch.h"
#include "tests/support/TempDir.h"
#include "tests/support/TlsServer.h"

#include <gtest/gtest.h>

using namespace tickerlux;
using namespace tickerlux::headlines;
using namespace tickerlux::base;
using namespace tickerlux::test;

namespace {

TEST(HttpsFetchTest, VerifiesTheCertificateAgainstTheGivenAuthority)
{
    CTempDir dir;
    ASSERT_NO_FATAL_FAILURE(MakeTestCertificates(dir.Path()));
    CTlsServer tls(dir.Path());
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
