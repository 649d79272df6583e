// The sign's memory, checks and display, fed through the decoder as the simulator feeds them.
#include "tests/tools/Frames.h"
#include "tools/signsim/SignState.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

using namespace tickerlux;
using namespace tickerlux::sign;
using namespace tickerlux::signsim;
using namespace tickerlux::test;

namespace {

using frames::Frame;

struct StateCase {
    const char* name;
    std::vector<std::string> frames;   // a frame without EOT at the end is cut short
    const char* lastError;             // expected in the last transmission's errors; "" for none
    std::string shown;                 // Windows-1252
    std::optional<char> color;
    std::optional<char> mode;
};

void PrintTo(const StateCase& c, std::ostream* os)
{
    *os << c.name;
}

class SignStateTest : public testing::TestWithParam<StateCase> {};

const std::string kTwoFiles = Frame("E$AAU0100FF00BAU0100FF00");

const StateCase kCases[] = {
    {"update_shows_text", frames::Update("Hello Caf\xE9"), "", "Hello Caf\xE9", '1', 'a'},
    {"condensed_autocolor",
     {frames::MemoryConfig(40), frames::Text("Hi", 1, true), frames::RunSequence()},
     "", "Hi", 'C', 't'},
    {"clear_empties_display",
     {frames::MemoryConfig(40), frames::Text("Hello"), frames::RunSequence(), frames::Clear()},
     "", "", std::nullopt, std::nullopt},
    {"clear_of_unconfigured_file", {frames::Clear()}, "", "", std::nullopt, std::nullopt},
    // The file holds mode field, colour and text: 3 + 2 + 18 bytes.
    {"text_fits_configured_size_exactly",
     {Frame("E$AAU0017FF00"), Frame("AA\x1B a\x1C" "1Eighteen letters!!")},
     "", "Eighteen letters!!", '1', 'a'},
    {"text_larger_than_configured_size",
     {Frame("E$AAU0016FF00"), Frame("AA\x1B a\x1C" "1Eighteen letters!!")},
     "text of 23 bytes does not fit file A, configured for 22 bytes", "", std::nullopt,
     std::nullopt},
    {"text_for_unconfigured_file", {frames::Text("Hello")}, "which no memory configuration",
     "", std::nullopt, std::nullopt},
    {"file_missing_from_run_sequence",
     {kTwoFiles, frames::Text("Hello"), Frame("E.SLB")},
     "file A holds text but is missing from the run sequence", "", std::nullopt, std::nullopt},
    {"text_for_file_outside_run_sequence",
     {kTwoFiles, Frame("E.SLB"), frames::Text("Hello")},
     "file A is not in the run sequence \"B\"", "", std::nullopt, std::nullopt},
    {"run_sequence_shows_first_file",
     {kTwoFiles, Frame("AB\x1B a\x1C" "2Bee"), frames::Text("Hello"), Frame("E.SLBA")},
     "", "Bee", '2', 'a'},
    {"run_sequence_names_unconfigured_file",
     {frames::MemoryConfig(40), Frame("E.SLAC")},
     "file C of the run sequence is not set up", "", std::nullopt, std::nullopt},
    {"memory_config_wipes_text",
     {frames::MemoryConfig(40), frames::Text("Hello"), frames::MemoryConfig(40)},
     "", "", std::nullopt, std::nullopt},
    {"malformed_text_changes_nothing",
     {frames::MemoryConfig(40), frames::Text("Hello"), frames::Text("Bye").substr(0, 30)},
     "cut short", "Hello", '1', 'a'},
    {"unknown_command", {Frame("G0")}, "unknown command G", "", std::nullopt, std::nullopt},
    {"unknown_special_function", {Frame("E(x")}, "unknown special function (", "",
     std::nullopt, std::nullopt},
};

TEST_P(SignStateTest, ChecksAndShowsAsASign)
{
    const StateCase& c = GetParam();
    sign::CSignDecoder decoder;
    std::vector<sign::DecodedTransmission> transmissions;
    for (const std::string& frame : c.frames) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(frame.data());
        for (auto& t : decoder.Feed(bytes, frame.size()))
            transmissions.push_back(std::move(t));
    }
    if (auto last = decoder.Finish())
        transmissions.push_back(std::move(*last));
    ASSERT_EQ(transmissions.size(), c.frames.size());

    signsim::CSignState state;
    for (std::size_t i = 0; i < transmissions.size(); ++i) {
        std::vector<std::string> errors = transmissions[i].errors;
        for (std::string& error : state.Apply(transmissions[i]))
            errors.push_back(error);
        const bool last = i + 1 == transmissions.size();
        if (!last || !*c.lastError) {
            EXPECT_TRUE(errors.empty()) << "transmission " << i << ": " << errors.front();
            continue;
        }
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_NE(errors.front().find(c.lastError), std::string::npos) << errors.front();
    }
    const signsim::Display shown = state.Shown();
    EXPECT_EQ(shown.text, c.shown);
    EXPECT_EQ(shown.colorCode, c.color);
    EXPECT_EQ(shown.modeCode, c.mode);
}

INSTANTIATE_TEST_SUITE_P(Cases, SignStateTest, testing::ValuesIn(kCases),
                         [](const auto& row) { return std::string(row.param.name); });

} // namespace
