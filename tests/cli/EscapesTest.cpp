#include "cli/Escapes.h"

#include <gtest/gtest.h>

using namespace tickerlux;
using namespace tickerlux::cli;

using namespace std::string_literals;

namespace {

struct EscapeCase {
    const char* name;
    std::string bytes;    // Windows-1252
    std::string escaped;  // UTF-8 with escapes, as Escape writes it
};

void PrintTo(const EscapeCase& c, std::ostream* os)
{
    *os << c.name;
}

class Escaping : public testing::TestWithParam<EscapeCase> {};

TEST_P(Escaping, WritesAndReadsBack)
{
    EXPECT_EQ(cli::Escape(GetParam().bytes), GetParam().escaped);
    std::string error;
    EXPECT_EQ(cli::Unescape(GetParam().escaped, error), GetParam().bytes) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Escaping,
    testing::Values(EscapeCase{"Plain", "Hello, world", "Hello, world"},
                    EscapeCase{"Backslash", "a\\b", "a\\\\b"},
                    EscapeCase{"NamedControls", "\n\r\t", "\\n\\r\\t"},
                    EscapeCase{"OtherControls", "\x00\x1B\x7F"s, "\\x00\\x1B\\x7F"},
                    EscapeCase{"UndefinedBytes", "\x81\x8D\x8F\x90\x9D",
                               "\\x81\\x8D\\x8F\\x90\\x9D"},
                    EscapeCase{"HighBytesAsUtf8", "\x80\xE9\xFF", "\xE2\x82\xAC\xC3\xA9\xC3\xBF"}),
    [](const auto& c) { return c.param.name; });

TEST(Escaping, UnescapeTakesHexInEitherCaseAndConvertsText)
{
    std::string error;
    EXPECT_EQ(cli::Unescape("\\xfF\\x41\xE2\x98\x83", error), "\xFF" "A?");
}

} // namespace
