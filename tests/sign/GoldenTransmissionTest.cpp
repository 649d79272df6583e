#include "engine/TickerluxEngine.h"
#include "settings/TickerluxDoc.h"
#include "sign/SignColors.h"
#include "tests/support/RecordingUi.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

using namespace tickerlux;
using namespace tickerlux::base;
using namespace tickerlux::settings;
using namespace tickerlux::headlines;
using namespace tickerlux::sign;
using namespace tickerlux::link;
using namespace tickerlux::engine;
using namespace tickerlux::test;

namespace {

using namespace std::string_literals;

const std::string kFrameStart = std::string(20, '\0') + "\x01Z00\x02"s;

std::string Bytes(const Transmission& bytes)
{
    return {bytes.begin(), bytes.end()};
}

// An engine over its own document whose deliveries are recorded instead of sent.
struct EngineFixture : testing::Test {
    EngineFixture()
    {
        engine.SetDeliveryHook([this](const link::SignPort& port, const Transmission& bytes) {
            ports.push_back(port.com);
            sent.push_back(Bytes(bytes));
        });
    }

    std::string BuildText(const char* line)
    {
        return Bytes(engine.BuildTextTransmission(line));
    }

    CTickerluxDoc doc;
    CRecordingUi ui;
    CTickerluxEngine engine{doc, ui};
    std::vector<int> ports;
    std::vector<std::string> sent;
};

using GoldenTransmission = EngineFixture;

TEST_F(GoldenTransmission, EmptyLine)
{
    EXPECT_EQ(BuildText(""), kFrameStart + "AA\x1B a\x1C" "1\x04"s);
}

TEST_F(GoldenTransmission, CondensedAutocolor)
{
    doc.Condensed = true;
    doc.ColorIndex = 1;
    EXPECT_EQ(BuildText("Hi"), kFrameStart + "AA\x1B t\x1C" "CHi\x04"s);
}

TEST_F(GoldenTransmission, Clear)
{
    EXPECT_EQ(Bytes(engine.BuildClearTransmission()), kFrameStart + "AA\x04");
}

TEST_F(GoldenTransmission, RunSequenceGoesToTheDocumentsPort)
{
    doc.Comm.ComPort = 7;
    EXPECT_EQ(engine.GetSignPort().com, 7);
    engine.SendRunSequence();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(ports[0], 7);
    EXPECT_EQ(sent[0], kFrameStart + "E.SLA\x04");
}

TEST_F(GoldenTransmission, MemoryConfigForAnEmptyLine)
{
    doc.Comm.ComPort = 3;
    engine.SendMemoryConfig(BuildText("").size());
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(ports[0], 3);
    EXPECT_EQ(sent[0], kFrameStart + "E$AAU0021FF00\x04");
}

struct SizeFieldCase {
    const char* name;
    int length;
    const char* field;
};

void PrintTo(const SizeFieldCase& c, std::ostream* os)
{
    *os << c.name;
}

class MemoryConfigSizeField : public EngineFixture,
                              public testing::WithParamInterface<SizeFieldCase> {};

TEST_P(MemoryConfigSizeField, IsFourUpperCaseHexDigitsOfTheWholeLength)
{
    engine.SendMemoryConfig(static_cast<std::size_t>(GetParam().length));
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], kFrameStart + "E$AAU" + GetParam().field + "FF00\x04");
}

INSTANTIATE_TEST_SUITE_P(Cases, MemoryConfigSizeField,
                         testing::Values(SizeFieldCase{"EmptyLine", 33, "0021"},
                                         SizeFieldCase{"ThousandBytes", 1000, "03E8"},
                                         SizeFieldCase{"LongestTransmission", 60033, "EA81"},
                                         SizeFieldCase{"LettersAreUpperCase", 0xABCD, "ABCD"},
                                         SizeFieldCase{"NegativeClampedToZero", -1, "0000"},
                                         SizeFieldCase{"AboveFourDigitsClamped", 0x12345, "FFFF"}),
                         [](const auto& c) { return c.param.name; });

struct ColorCase {
    const char* name;
    int index;
    char code;
};

void PrintTo(const ColorCase& c, std::ostream* os)
{
    *os << c.name;
}

class ColorCode : public EngineFixture, public testing::WithParamInterface<ColorCase> {};

TEST_P(ColorCode, FollowsSelectColor)
{
    doc.ColorIndex = GetParam().index;
    const std::string transmission = BuildText("x");
    EXPECT_EQ(transmission[30], '\x1C');
    EXPECT_EQ(transmission[31], GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ColorCode,
    testing::Values(ColorCase{"Amber", 0, '3'}, ColorCase{"Autocolor", 1, 'C'},
                    ColorCase{"Brown", 2, '6'}, ColorCase{"DimGreen", 3, '5'},
                    ColorCase{"DimRed", 4, '4'}, ColorCase{"Green", 5, '2'},
                    ColorCase{"Orange", 6, '7'}, ColorCase{"Rainbow1", 7, '9'},
                    ColorCase{"Rainbow2", 8, 'A'}, ColorCase{"Red", 9, '1'},
                    ColorCase{"Yellow", 10, '8'}, ColorCase{"NegativeGivesAutocolor", -1, 'C'},
                    ColorCase{"ElevenGivesAutocolor", 11, 'C'},
                    ColorCase{"LargestIntGivesAutocolor", INT_MAX, 'C'},
                    ColorCase{"SmallestIntGivesAutocolor", INT_MIN, 'C'}),
    [](const auto& c) { return c.param.name; });

TEST(SignColors, NamesAndParsing)
{
    EXPECT_STREQ(sign::kColors[0].name, "Amber");
    EXPECT_STREQ(sign::kColors[10].name, "Yellow");
    EXPECT_STREQ(sign::ColorNameForCode('C'), "Autocolor");
    EXPECT_EQ(sign::ColorNameForCode('Z'), nullptr);
    EXPECT_EQ(sign::ParseColorIndex("10"), 10);
    EXPECT_EQ(sign::ParseColorIndex("dim GREEN"), 3);
    EXPECT_EQ(sign::ParseColorIndex("11"), std::nullopt);
    EXPECT_EQ(sign::ParseColorIndex("-1"), std::nullopt);
    EXPECT_EQ(sign::ParseColorIndex("9x"), std::nullopt);
    EXPECT_EQ(sign::ParseColorIndex(""), std::nullopt);
}

} // namespace
