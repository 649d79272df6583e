#include "sign/Framing.h"
#include "sign/SignDecoder.h"
#include "sign/TextEncoder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace tickerlux;
using namespace tickerlux::sign;

namespace {

using namespace std::string_literals;
using sign::TransmissionKind;

const std::string kFrameStart = std::string(20, '\0') + "\x01Z00\x02"s;

std::string TextTransmission(const std::string& line, int colorIndex, bool condensed)
{
    std::vector<unsigned char> buffer(sign::kMaxTextTransmissionLength);
    const std::size_t length =
        sign::BuildTextTransmission(buffer.data(), line, colorIndex, condensed);
    return {reinterpret_cast<const char*>(buffer.data()), length};
}

template <std::size_t N>
std::string ToString(const std::array<unsigned char, N>& bytes)
{
    return {reinterpret_cast<const char*>(bytes.data()), N};
}

std::string ClearTransmission()
{
    unsigned char buffer[sign::kClearLength];
    return {reinterpret_cast<const char*>(buffer), sign::BuildClearTransmission(buffer)};
}

sign::DecodedTransmission Decode(const std::string& bytes)
{
    return sign::DecodeTransmission(reinterpret_cast<const unsigned char*>(bytes.data()),
                                    bytes.size());
}

std::vector<sign::DecodedTransmission> FeedAll(sign::CSignDecoder& decoder,
                                               const std::string& bytes)
{
    auto units = decoder.Feed(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    if (auto last = decoder.Finish())
        units.push_back(std::move(*last));
    return units;
}

std::string Joined(const std::vector<std::string>& errors)
{
    std::string all;
    for (const std::string& error : errors)
        all += error + "; ";
    return all;
}

// Every transmission the program builds decodes back to what it was built from.
struct RoundTripCase {
    std::string name;
    std::string bytes;
    TransmissionKind kind;
    std::string text = {};  // write-text: the decoded line
    char mode = 0;
    char colorCode = 0;
    long memorySize = -1;  // memory-config: the size of file A
};

void PrintTo(const RoundTripCase& c, std::ostream* os)
{
    *os << c.name;
}

class DecoderRoundTrip : public testing::TestWithParam<RoundTripCase> {};

TEST_P(DecoderRoundTrip, GivesBackWhatWasBuilt)
{
    const RoundTripCase& c = GetParam();
    const sign::DecodedTransmission t = Decode(c.bytes);
    EXPECT_TRUE(t.errors.empty()) << Joined(t.errors);
    EXPECT_EQ(t.kind, c.kind);
    EXPECT_EQ(t.preambleLength, 20u);
    EXPECT_EQ(t.typeCode, 'Z');
    EXPECT_EQ(t.address, "00");
    EXPECT_EQ(t.bytes.size(), c.bytes.size());
    switch (c.kind) {
    case TransmissionKind::WriteText:
        ASSERT_TRUE(t.text);
        EXPECT_EQ(t.text->fileLabel, 'A');
        EXPECT_TRUE(t.text->hasMode);
        EXPECT_EQ(t.text->position, ' ');
        EXPECT_EQ(t.text->mode, c.mode);
        EXPECT_TRUE(t.text->hasColor);
        EXPECT_EQ(t.text->colorCode, c.colorCode);
        EXPECT_EQ(t.text->text, c.text);
        break;
    case TransmissionKind::Clear:
        ASSERT_TRUE(t.text);
        EXPECT_EQ(t.text->fileLabel, 'A');
        EXPECT_FALSE(t.text->hasMode);
        EXPECT_TRUE(t.text->text.empty());
        break;
    case TransmissionKind::MemoryConfig:
        ASSERT_EQ(t.memory.size(), 1u);
        EXPECT_EQ(t.memory[0].label, 'A');
        EXPECT_EQ(t.memory[0].type, 'A');
        EXPECT_EQ(t.memory[0].protection, 'U');
        EXPECT_EQ(t.memory[0].size, c.memorySize);
        EXPECT_EQ(t.memory[0].timesField, "FF00");
        break;
    case TransmissionKind::RunSequence:
        EXPECT_EQ(t.runSequenceType, 'S');
        EXPECT_EQ(t.runSequenceLock, 'L');
        EXPECT_EQ(t.runSequenceFiles, "A");
        break;
    case TransmissionKind::Unknown:
        FAIL() << "no builder makes unknown transmissions";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, DecoderRoundTrip,
    testing::Values(
        RoundTripCase{"EmptyLine", TextTransmission("", 9, false), TransmissionKind::WriteText,
                      "", 'a', '1'},
        RoundTripCase{"AccentsAndReferences",
                      TextTransmission("Caf\xE9 \xC9t\xE9 &#233;&#39;s \xC9", 0, false),
                      TransmissionKind::WriteText, "Caf\xE9 \xC9t\xE9 \xE9's \xC9", 'a', '3'},
        RoundTripCase{"CondensedAutocolor", TextTransmission("News", 1, true),
                      TransmissionKind::WriteText, "News", 't', 'C'},
        RoundTripCase{"ExtendedCharacterWithoutWindowsForm", TextTransmission("&#0;x", 9, false),
                      TransmissionKind::WriteText, ">x", 'a', '1'},
        RoundTripCase{"RawNulByteInTheLine", TextTransmission("a\0b"s, 9, false),
                      TransmissionKind::WriteText, "a\x1A" "b", 'a', '1'},
        RoundTripCase{"LongestLine", TextTransmission(std::string(30000, '\xF1'), 10, false),
                      TransmissionKind::WriteText, std::string(30000, '\xF1'), 'a', '8'},
        RoundTripCase{"Clear", ClearTransmission(), TransmissionKind::Clear},
        RoundTripCase{"MemoryConfig", ToString(sign::BuildMemoryConfigTransmission(60033)),
                      TransmissionKind::MemoryConfig, "", 0, 0, 60033},
        RoundTripCase{"RunSequence", ToString(sign::BuildRunSequenceTransmission()),
                      TransmissionKind::RunSequence}),
    [](const auto& c) { return c.param.name; });

// A stream with faults splits into these units; an empty fragment means no error.
struct ExpectedUnit {
    TransmissionKind kind;
    std::string errorFragment;
};

struct StreamCase {
    std::string name;
    std::string stream;
    std::vector<ExpectedUnit> units;
};

void PrintTo(const StreamCase& c, std::ostream* os)
{
    *os << c.name;
}

class DecoderStream : public testing::TestWithParam<StreamCase> {};

void ExpectUnits(const std::vector<sign::DecodedTransmission>& units, const StreamCase& c)
{
    ASSERT_EQ(units.size(), c.units.size());
    std::string joined;
    for (std::size_t i = 0; i < units.size(); ++i) {
        SCOPED_TRACE("unit " + std::to_string(i));
        EXPECT_EQ(units[i].kind, c.units[i].kind);
        if (c.units[i].errorFragment.empty())
            EXPECT_TRUE(units[i].errors.empty()) << Joined(units[i].errors);
        else
            EXPECT_NE(Joined(units[i].errors).find(c.units[i].errorFragment), std::string::npos)
                << Joined(units[i].errors);
        joined.append(units[i].bytes.begin(), units[i].bytes.end());
    }
    EXPECT_EQ(joined, c.stream);  // every byte lands in exactly one unit
}

TEST_P(DecoderStream, SplitsIntoTransmissions)
{
    sign::CSignDecoder whole;
    ExpectUnits(FeedAll(whole, GetParam().stream), GetParam());

    sign::CSignDecoder bytewise;
    std::vector<sign::DecodedTransmission> units;
    for (char byte : GetParam().stream) {
        const auto u = static_cast<unsigned char>(byte);
        for (auto& t : bytewise.Feed(&u, 1))
            units.push_back(std::move(t));
    }
    if (auto last = bytewise.Finish())
        units.push_back(std::move(*last));
    ExpectUnits(units, GetParam());
}

const std::string kClear = kFrameStart + "AA\x04";
const std::string kRun = kFrameStart + "E.SLA\x04";

INSTANTIATE_TEST_SUITE_P(
    Cases, DecoderStream,
    testing::Values(
        StreamCase{"EmptyStream", "", {}},
        StreamCase{"ThreeInARow",
                   ToString(sign::BuildMemoryConfigTransmission(40)) +
                       TextTransmission("Hi", 9, false) + kRun,
                   {{TransmissionKind::MemoryConfig, ""},
                    {TransmissionKind::WriteText, ""},
                    {TransmissionKind::RunSequence, ""}}},
        StreamCase{"NoSohAfterTheNuls",
                   std::string(20, '\0') + "X" + kClear,
                   {{TransmissionKind::Unknown, "no SOH"},
                    {TransmissionKind::Unknown, "1 bytes outside"},
                    {TransmissionKind::Clear, ""}}},
        StreamCase{"OnlyNuls", std::string(8, '\0'), {{TransmissionKind::Unknown, "no SOH"}}},
        StreamCase{"MissingStx", std::string(20, '\0') + "\x01Z00AA\x04",
                   {{TransmissionKind::Unknown, "no STX"}}},
        StreamCase{"HeaderCutShort", std::string(20, '\0') + "\x01Z0" + kClear,
                   {{TransmissionKind::Unknown, "cut short in the header"},
                    {TransmissionKind::Clear, ""}}},
        StreamCase{"CutShortByTheNextTransmission",
                   kFrameStart + "AA\x1B a\x1C" "1Hel" + kClear,
                   {{TransmissionKind::WriteText, "no EOT"}, {TransmissionKind::Clear, ""}}},
        StreamCase{"CutShortAtTheEnd", kFrameStart + "AA",
                   {{TransmissionKind::Clear, "no EOT"}}},
        StreamCase{"GarbageBetween", kClear + "junk" + kRun,
                   {{TransmissionKind::Clear, ""},
                    {TransmissionKind::Unknown, "4 bytes outside"},
                    {TransmissionKind::RunSequence, ""}}},
        StreamCase{"GarbageAtTheEnd", kClear + "\xFF\xFE",
                   {{TransmissionKind::Clear, ""}, {TransmissionKind::Unknown, "2 bytes outside"}}},
        StreamCase{"ShortPreamble", "\0\0\x01Z00\x02" "AA\x04"s,
                   {{TransmissionKind::Clear, "NUL preamble of 2 bytes"}}},
        StreamCase{"NoPreamble", "\x01Z00\x02" "AA\x04",
                   {{TransmissionKind::Clear, "NUL preamble of 0 bytes"}}},
        StreamCase{"NoCommandCode", kFrameStart + "\x04",
                   {{TransmissionKind::Unknown, "no command code"}}},
        StreamCase{"ExtendedCharacterNotInTheTable", kFrameStart + "AA\x1B a\x1C" "1\x08\x4B\x04",
                   {{TransmissionKind::WriteText, "0x4B is not in the character table"}}},
        StreamCase{"ExtendedCharacterCutShort", kFrameStart + "AA\x1B a\x1C" "1x\x08\x04",
                   {{TransmissionKind::WriteText, "cut short at the end of the text"}}},
        StreamCase{"UnknownColour", kFrameStart + "AA\x1B a\x1CZx\x04",
                   {{TransmissionKind::WriteText, "unknown colour code 0x5A"}}},
        StreamCase{"ModeFieldCutShort", kFrameStart + "AA\x1B \x04",
                   {{TransmissionKind::WriteText, "mode field cut short"}}},
        StreamCase{"ControlByteInTheText", kFrameStart + "AA\x1B a\x1C" "1a\x07" "b\x04",
                   {{TransmissionKind::WriteText, "control byte 0x07"}}},
        StreamCase{"LowerCaseSizeField", kFrameStart + "E$AAU03e8FF00\x04",
                   {{TransmissionKind::MemoryConfig, "not four upper-case hexadecimal"}}},
        StreamCase{"MemoryEntryCutShort", kFrameStart + "E$AAU03\x04",
                   {{TransmissionKind::MemoryConfig, "entry cut short"}}},
        StreamCase{"RunSequenceWithoutFile", kFrameStart + "E.SL\x04",
                   {{TransmissionKind::RunSequence, "names no file"}}},
        StreamCase{"RunSequenceCutShort", kFrameStart + "E.\x04",
                   {{TransmissionKind::RunSequence, "cut short"}}},
        StreamCase{"OtherCommand", kFrameStart + "G\x04", {{TransmissionKind::Unknown, ""}}}),
    [](const auto& c) { return c.param.name; });

TEST(SignDecoder, DecodeTransmissionReportsBytesAfterEot)
{
    const sign::DecodedTransmission t = Decode(kClear + "zz");
    EXPECT_EQ(t.kind, TransmissionKind::Clear);
    EXPECT_EQ(Joined(t.errors), "2 bytes after EOT; ");
}

TEST(SignDecoder, NeverHoldsMoreThanTheLimit)
{
    sign::CSignDecoder decoder;
    const std::string stream =
        kFrameStart + "AA" + std::string(sign::CSignDecoder::kMaxPendingBytes, 'x') + "\x04";
    const auto units = FeedAll(decoder, stream);
    ASSERT_EQ(units.size(), 2u);
    EXPECT_EQ(units[0].bytes.size(), sign::CSignDecoder::kMaxPendingBytes);
    EXPECT_NE(Joined(units[0].errors).find("no EOT within"), std::string::npos);
    EXPECT_EQ(units[1].kind, TransmissionKind::Unknown);
}

TEST(SignDecoder, ErrorListIsBounded)
{
    const sign::DecodedTransmission t =
        Decode(kFrameStart + "AA\x1B a\x1C" "1" + std::string(500, '\x07') + "\x04");
    EXPECT_LE(t.errors.size(), 21u);
    EXPECT_EQ(t.errors.back(), "further errors left out");
}

// Random streams, rich in protocol bytes, fed in random pieces: nothing is lost or read
// twice, and under the sanitizer build nothing is read out of bounds.
TEST(SignDecoder, RandomStreamsSplitWithoutLoss)
{
    std::mt19937 random(20261207);
    const std::string special = "\0\x01\x02\x04\x08\x1B\x1C" "AE$.SLUZ0"s;
    for (int round = 0; round < 400; ++round) {
        std::string stream(random() % 3000, '\0');
        for (char& byte : stream)
            byte = random() % 2 ? special[random() % special.size()]
                                : static_cast<char>(random() % 256);
        sign::CSignDecoder decoder;
        std::string seen;
        for (std::size_t at = 0; at < stream.size();) {
            const std::size_t piece = std::min<std::size_t>(random() % 64 + 1, stream.size() - at);
            for (const auto& t : decoder.Feed(
                     reinterpret_cast<const unsigned char*>(stream.data()) + at, piece))
                seen.append(t.bytes.begin(), t.bytes.end());
            at += piece;
        }
        if (auto last = decoder.Finish())
            seen.append(last->bytes.begin(), last->bytes.end());
        ASSERT_EQ(seen, stream) << "round " << round;
        const sign::DecodedTransmission whole = Decode(stream);
        EXPECT_EQ(whole.bytes.size(), stream.size());
    }
}

} // namespace
