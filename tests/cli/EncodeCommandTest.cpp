#include "tests/sign/EncoderCases.h"

#include "cli/ExitCodes.h"
#include "tests/support/RunProgram.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tickerlux;
using namespace tickerlux::cli;
using namespace tickerlux::test;

namespace {

using namespace std::string_literals;

ProgramResult Encode(std::vector<std::string> options, const std::string& input)
{
    options.insert(options.begin(), {BuildDir() + "/cli/tickerlux-cli", "encode"});
    return RunProgram(options, {}, input);
}

// The encoder's cases, through the program.
class EncodeCommandCases : public testing::TestWithParam<EncoderCase> {};

TEST_P(EncodeCommandCases, RawLineGivesTheTransmission)
{
    const ProgramResult result = Encode({"--raw"}, GetParam().line);
    EXPECT_EQ(result.exitCode, cli::kExitOk) << result.err;
    EXPECT_EQ(result.out, DefaultTransmission(GetParam().text));
    EXPECT_EQ(result.err, "");
}

INSTANTIATE_TEST_SUITE_P(Cases, EncodeCommandCases, testing::ValuesIn(EncoderCases()),
                         [](const auto& c) { return c.param.name; });

struct OptionCase {
    const char* name;
    std::vector<std::string> options;
    std::string input;
    std::string text;  // from offset 29 (mode, 0x1C, colour, text) up to EOT
};

void PrintTo(const OptionCase& c, std::ostream* os)
{
    *os << c.name;
}

class EncodeCommandOptions : public testing::TestWithParam<OptionCase> {};

TEST_P(EncodeCommandOptions, ShapeTheTransmission)
{
    const ProgramResult result = Encode(GetParam().options, GetParam().input);
    ASSERT_EQ(result.exitCode, cli::kExitOk) << result.err;
    EXPECT_EQ(result.out,
              std::string(20, '\0') + "\x01Z00\x02" "AA\x1B " + GetParam().text + "\x04");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EncodeCommandOptions,
    testing::Values(
        OptionCase{"DefaultsAreRotateAndRed", {}, "News", "a\x1C" "1News"},
        OptionCase{"ColorByNumber", {"--color", "10"}, "x", "a\x1C" "8x"},
        OptionCase{"ColorByNameWithEquals", {"--color=dim green"}, "x", "a\x1C" "5x"},
        OptionCase{"CondensedAutocolor", {"--condensed", "--color", "Autocolor"}, "x",
                   "t\x1C" "Cx"},
        OptionCase{"Utf8IsConvertedToWindows1252", {}, "Caf\xC3\xA9 \xE2\x98\x83",
                   "a\x1C" "1Caf\x08\x22 ?"},
        OptionCase{"RawTakesTheBytesAsTheyAre", {"--raw"}, "Caf\xC3\xA9",
                   "a\x1C" "1Caf\x08\x5C"},
        OptionCase{"TrailingNewlineIsNotPartOfTheLine", {}, "&#65\n", "a\x1C" "1A"},
        OptionCase{"TrailingCrLfIsNotPartOfTheLine", {"--raw"}, "ab\r\n", "a\x1C" "1ab"},
        OptionCase{"InnerLineBreaksAreDropped", {}, "a\nb\r\nc\n", "a\x1C" "1abc"},
        OptionCase{"EmptyInput", {}, "", "a\x1C" "1"}),
    [](const auto& c) { return c.param.name; });

struct EndlessCase {
    const char* name;
    std::vector<std::string> options;
    std::string unit;  // repeated without end
};

void PrintTo(const EndlessCase& c, std::ostream* os)
{
    *os << c.name;
}

class EncodeCommandEndless : public testing::TestWithParam<EndlessCase> {};

// Only the start of the input can reach the sign: the program reads that much, stops, and sends
// what it would send for a long finite input.
TEST_P(EncodeCommandEndless, ReadsOnlyWhatCanBeSent)
{
    const EndlessCase& c = GetParam();
    std::vector<std::string> argv = {BuildDir() + "/cli/tickerlux-cli", "encode"};
    argv.insert(argv.end(), c.options.begin(), c.options.end());
    const ProgramResult endless = RunProgramOnEndlessInput(argv, c.unit);
    ASSERT_EQ(endless.exitCode, cli::kExitOk) << endless.err;

    std::string finite;
    while (finite.size() < 200000)
        finite += c.unit;
    EXPECT_EQ(endless.out, Encode(c.options, finite).out);
    EXPECT_EQ(endless.err, "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EncodeCommandEndless,
    testing::Values(
        // Two, three and four bytes of UTF-8 for one byte sent.
        EndlessCase{"Utf8", {}, "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80x"},
        EndlessCase{"Raw", {"--raw"}, "yes\n"},
        // After 30,000 bytes sent: no longer part of the line, so not refused.
        EndlessCase{"NulPastTheCut", {"--raw"}, std::string(30000, 'a') + "\0"s}),
    [](const auto& c) { return c.param.name; });

struct UsageCase {
    const char* name;
    std::vector<std::string> options;
    std::string input;
    const char* message;
};

void PrintTo(const UsageCase& c, std::ostream* os)
{
    *os << c.name;
}

class EncodeCommandUsage : public testing::TestWithParam<UsageCase> {};

TEST_P(EncodeCommandUsage, IsRefusedWithExit2AndNoOutput)
{
    const ProgramResult result = Encode(GetParam().options, GetParam().input);
    EXPECT_EQ(result.exitCode, cli::kExitUsage);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find(GetParam().message), std::string::npos) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EncodeCommandUsage,
    testing::Values(
        UsageCase{"ColorAboveTheList", {"--color", "11"}, "x", "unknown colour '11'"},
        UsageCase{"NegativeColor", {"--color=-1"}, "x", "unknown colour '-1'"},
        UsageCase{"ColorNotANumber", {"--color", "9x"}, "x", "unknown colour '9x'"},
        UsageCase{"ColorWithoutValue", {"--color"}, "x", "--color needs a value"},
        UsageCase{"UnknownOption", {"--bold"}, "x", "unknown option '--bold'"},
        UsageCase{"Argument", {"hello"}, "x", "the line comes on standard input"},
        UsageCase{"NulByte", {"--raw"}, "a\0b"s, "NUL byte at offset 1"}),
    [](const auto& c) { return c.param.name; });

} // namespace
