// Full addresses as users paste them, read into the two stored fields.
#include "headlines/WebAddress.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace tickerlux;
using namespace tickerlux::headlines;
using namespace tickerlux::base;

namespace {

using namespace tickerlux::headlines;
using namespace tickerlux::base;

struct AddressCase {
    const char* name;
    std::string address;
    StoredAddress stored; // empty: refused
};

} // namespace

namespace tickerlux::headlines {
void PrintTo(const StoredAddress& a, std::ostream* os)
{
    *os << a.webServer << " " << a.webPath;
}
} // namespace tickerlux::headlines

namespace {

void PrintTo(const AddressCase& c, std::ostream* os)
{
    *os << c.name;
}

class WebAddressTest : public ::testing::TestWithParam<AddressCase> {};

TEST_P(WebAddressTest, FillsTheStoredFields)
{
    const ParsedAddress parsed = ParseWebAddress(GetParam().address);
    const bool refused = GetParam().stored.webServer.empty();
    EXPECT_EQ(parsed.failure.kind, refused ? FailureKind::BadAddress : FailureKind::None)
        << parsed.failure.Text();
    EXPECT_EQ(parsed.address, GetParam().stored);
    if (!refused) {
        EXPECT_EQ(ParseWebAddress(FullAddress(parsed.address)).address, parsed.address);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WebAddressTest,
    ::testing::Values(
        AddressCase{
            "FragmentDropped", " http://example.com/news?x=1#top ", {"example.com", "/news?x=1"}},
        AddressCase{
            "HttpsKeptWithPort", "HTTPS://Example.COM:8443", {"https://example.com:8443", "/"}},
        AddressCase{
            "DefaultPortLeftOut", "https://example.com:443/a", {"https://example.com", "/a"}},
        AddressCase{"IdnHost",
                    "http://b\xC3\xBC"
                    "cher.example/",
                    {"xn--bcher-kva.example", "/"}},
        AddressCase{"Ipv6InBrackets", "http://[::1]:8080/x", {"[::1]:8080", "/x"}},
        AddressCase{"PathPercentEncoded",
                    "http://e.com/caf\xC3\xA9?q=a b%20c%zz",
                    {"e.com", "/caf%C3%A9?q=a%20b%20c%25zz"}},
        AddressCase{"QueryWithoutPath", "http://e.com?x", {"e.com", "/?x"}},
        AddressCase{"UserInfoRefused", "http://user:pw@e.com/", {}},
        AddressCase{"OtherSchemeRefused", "ftp://e.com/", {}},
        AddressCase{"NoSchemeRefused", "e.com/news", {}},
        AddressCase{"PortOutOfRange", "http://e.com:99999/", {}},
        AddressCase{"NoHost", "http:///path", {}}, AddressCase{"BadHostName", "http://a..b/", {}},
        AddressCase{"NotUtf8", "http://e.com/\xFF", {}}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
