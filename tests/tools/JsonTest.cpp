// The virtual sign's --json events as scripts read them: one line each, valid JSON, UTF-8 kept,
// whatever bytes the device path or the sign's text hold.
#include "tools/signsim/Report.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <ostream>
#include <sstream>
#include <string>

using namespace tickerlux;
using namespace tickerlux::signsim;

namespace {

struct EventCase {
    const char* name;
    std::string device;       // bytes of the ready event's device path
    std::string shown;        // Windows-1252, as the sign holds it
    std::string deviceRead;   // what a JSON reader gets back (UTF-8)
    std::string shownRead;
    std::string literal = {}; // found as it is in the output: UTF-8 is not escaped
};

void PrintTo(const EventCase& c, std::ostream* os)
{
    *os << c.name;
}

class JsonEventsTest : public testing::TestWithParam<EventCase> {};

const EventCase kCases[] = {
    {"plain", "/dev/pts/3", "Hello", "/dev/pts/3", "Hello"},
    {"quote_and_backslash", "a\"b\\c", "\"Hi\\\"", "a\"b\\c", "\"Hi\\\""},
    {"control_bytes", std::string("/dev/\x00\x01\n\r\t\x1F\x7F", 12), std::string("A\x00\n\x1F", 4),
     std::string("/dev/\x00\x01\n\r\t\x1F\x7F", 12), std::string("A\x00\n\x1F", 4)},
    {"utf8_and_windows_1252", "/dev/Caf\xC3\xA9 \xF0\x9F\x98\x80", "Caf\xE9 \x80 \x93",
     "/dev/Caf\xC3\xA9 \xF0\x9F\x98\x80", "Caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9C",
     "\"text\":\"Caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9C\""},
    {"invalid_utf8", "a\x80z \xFFy", "x", "a\xEF\xBF\xBDz \xEF\xBF\xBDy", "x"},
};

TEST_P(JsonEventsTest, OneValidLineEach)
{
    const EventCase& c = GetParam();
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    const auto report = signsim::MakeJsonReport(out);
    EXPECT_TRUE(report->Ready(c.device, std::nullopt));
    EXPECT_TRUE(report->DisplayChanged({c.shown, std::nullopt, std::nullopt}));

    std::rewind(out);
    std::string written;
    for (int ch; (ch = std::fgetc(out)) != EOF;)
        written += static_cast<char>(ch);
    std::fclose(out);

    std::istringstream lines(written);
    std::string ready, display, more;
    ASSERT_TRUE(std::getline(lines, ready) && std::getline(lines, display)) << written;
    EXPECT_FALSE(std::getline(lines, more)) << written;
    EXPECT_EQ(ready.rfind("{\"event\":\"ready\",\"device\":", 0), 0u) << ready;
    EXPECT_EQ(nlohmann::json::parse(ready).at("device"), c.deviceRead);
    EXPECT_EQ(nlohmann::json::parse(display).at("text"), c.shownRead);
    EXPECT_NE(written.find(c.literal), std::string::npos) << written;
}

INSTANTIATE_TEST_SUITE_P(Cases, JsonEventsTest, testing::ValuesIn(kCases),
                         [](const auto& row) { return std::string(row.param.name); });

} // namespace
