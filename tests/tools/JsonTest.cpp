// JSON strings of the simulator's events: always valid, control characters escaped.
#include "tools/signsim/Json.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <ostream>
#include <string>

using namespace tickerlux;
using namespace tickerlux::signsim;

namespace {

struct JsonCase {
    const char* name;
    std::string input;
    std::string json;      // exactly as written
    std::string decoded;   // what a JSON reader gets back (UTF-8)
};

void PrintTo(const JsonCase& c, std::ostream* os)
{
    *os << c.name;
}

class JsonStringTest : public testing::TestWithParam<JsonCase> {};

const JsonCase kCases[] = {
    {"plain", "Hello", "\"Hello\"", "Hello"},
    {"quote_and_backslash", "a\"b\\c", "\"a\\\"b\\\\c\"", "a\"b\\c"},
    {"control_bytes", std::string("\x00\x01\n\t\x1F\x7F", 6),
     "\"\\u0000\\u0001\\u000A\\u0009\\u001F\\u007F\"", std::string("\x00\x01\n\t\x1F\x7F", 6)},
    {"c1_control", "\xC2\x85", "\"\\u0085\"", "\xC2\x85"},
    {"accented_and_astral", "Caf\xC3\xA9 \xF0\x9F\x98\x80", "\"Caf\xC3\xA9 \xF0\x9F\x98\x80\"",
     "Caf\xC3\xA9 \xF0\x9F\x98\x80"},
    {"stray_continuation", "a\x80z", "\"a\xEF\xBF\xBDz\"", "a\xEF\xBF\xBDz"},
    {"windows_1252_byte", "Caf\xE9", "\"Caf\xEF\xBF\xBD\"", "Caf\xEF\xBF\xBD"},
    {"overlong_nul", "\xC0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\"", "\xEF\xBF\xBD\xEF\xBF\xBD"},
    {"surrogate", "\xED\xA0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\"",
     "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
    {"cut_at_end", "ab\xE2\x82", "\"ab\xEF\xBF\xBD\xEF\xBF\xBD\"", "ab\xEF\xBF\xBD\xEF\xBF\xBD"},
    {"above_unicode", "\xF4\x90\x80\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\"",
     "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
};

TEST_P(JsonStringTest, EscapesAndStaysValid)
{
    const JsonCase& c = GetParam();
    const std::string json = signsim::JsonString(c.input);
    EXPECT_EQ(json, c.json);
    EXPECT_EQ(nlohmann::json::parse(json).get<std::string>(), c.decoded);
}

INSTANTIATE_TEST_SUITE_P(Cases, JsonStringTest, testing::ValuesIn(kCases),
                         [](const auto& row) { return std::string(row.param.name); });

} // namespace
