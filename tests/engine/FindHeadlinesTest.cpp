// The Find Headlines job on a feed served over TLS by a server whose certificate an authority
// made by the test signed: the authority reaches the fetch through the job's request only.
#include "engine/JobRunner.h"
#include "tests/support/TempDir.h"
#include "tests/support/TlsServer.h"

#include <gtest/gtest.h>

using namespace tickerlux;
using namespace tickerlux::test;

namespace {

struct HttpsCase {
    const char* name;
    bool authorityGiven;
    base::FailureKind failure;
    std::vector<std::string> shown;  // the page as a feed: its first headlines as the sign shows them
};

class FindHeadlinesHttpsTest : public testing::TestWithParam<HttpsCase> {};

TEST_P(FindHeadlinesHttpsTest, FindsTheFeedOnlyWithTheAuthority)
{
    const HttpsCase& c = GetParam();
    CTempDir dir;
    ASSERT_NO_FATAL_FAILURE(MakeTestCertificates(dir.Path()));
    WriteFileBytes(dir.File("feed.xml"), "<rss version=\"2.0\"><channel><title>Courier</title>"
                                         "<item><title>Mayor’s “plan” passed</title></item>"
                                         "<item><title>Trams run late</title></item>"
                                         "</channel></rss>");
    CTlsServer tls(dir.Path(), dir.Path());
    ASSERT_NE(tls.Port(), 0);
    engine::JobRequest request;
    request.command = engine::JobCommand::FindHeadlines;
    request.address = "https://127.0.0.1:" + std::to_string(tls.Port()) + "/feed.xml";
    request.caFile = c.authorityGiven ? dir.File("ca.pem") : "";

    const engine::JobOutcome found = engine::RunJob(request, engine::CJobControl(), {});
    const base::Failure* failed = found.steps.FailureOf(engine::Step::Fetch);
    EXPECT_EQ(failed ? failed->kind : base::FailureKind::None, c.failure);
    if (failed) {  // curl's own words
        EXPECT_NE(failed->Text().find("certificate"), std::string::npos) << failed->Text();
    }
    EXPECT_EQ(found.candidates.empty() ? std::vector<std::string>{}
                                       : found.candidates.front().firstHeadlines,
              c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Authority, FindHeadlinesHttpsTest,
    testing::Values(HttpsCase{"Given", true, base::FailureKind::None,
                              {"Mayor's \"plan\" passed", "Trams run late"}},
                    HttpsCase{"Missing", false, base::FailureKind::CertificateRejected, {}}),
    [](const testing::TestParamInfo<HttpsCase>& row) { return row.param.name; });

} // namespace
