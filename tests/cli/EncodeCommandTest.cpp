#include "tests/sign/EncoderCases.h"

#include "cli/ExitCodes.h"
#include "tests/support/RunProgram.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
