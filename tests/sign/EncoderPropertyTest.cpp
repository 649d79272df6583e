#include "sign/SignCharTable.h"
#include "sign/SignDecoder.h"
#include "sign/TextEncoder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace tickerlux;
using namespace tickerlux::sign;

namespace {

// Random lines of 1 to 400 bytes; with `references`, half the bytes come from "&#0123456789;"
// so that numeric references of every shape turn up.
std::string RandomLine(std::mt19937& random, bool references)
{
    static const std::string referenceBytes = "&#0123456789;";
    std::string line(random() % 400 + 1, 'x');
    for (char& byte : line) {
        if (references && random() % 2)
            byte = referenceBytes[random() % referenceBytes.size()];
        else
            byte = static_cast<char>(random() % 255 + 1);  // the line is NUL-terminated
    }
    return line;
}

std::string Encode(const std::string& line)
{
    std::vector<unsigned char> text(2 * line.size());
    const std::size_t length = sign::EncodeSignText(
        text.data(), reinterpret_cast<const unsigned char*>(line.data()), line.size());
    return {reinterpret_cast<const char*>(text.data()), length};
}

std::string DecodedText(const std::string& line)
{
    std::vector<unsigned char> buffer(sign::kMaxTextTransmissionLength);
    const std::size_t length = sign::BuildTextTransmission(buffer.data(), line, 9, false);
    const sign::DecodedTransmission t = sign::DecodeTransmission(buffer.data(), length);
    EXPECT_TRUE(t.errors.empty()) << t.errors.front();
    return t.text ? t.text->text : std::string("(no text)");
}

TEST(EncoderProperty, OutputIsBoundedAndHoldsOnlySignCharacters)
{
    std::mt19937 random(4242);
    for (int round = 0; round < 2000; ++round) {
        const std::string line = RandomLine(random, round % 2 == 0);
        const std::string text = Encode(line);
        ASSERT_LE(text.size(), 2 * line.size());
        for (std::size_t i = 0; i < text.size(); ++i) {
            const auto byte = static_cast<unsigned char>(text[i]);
            if (byte == sign::kExtendedChar) {
                ASSERT_LT(i + 1, text.size()) << "0x08 at the end, round " << round;
                const auto code = static_cast<unsigned char>(text[++i]);
                ASSERT_TRUE(code >= 0x20 && code <= 0x7D) << "round " << round;
            } else {
                ASSERT_TRUE(byte >= 0x20 && byte <= 0x7E) << "byte " << int(byte);
            }
        }
        DecodedText(line);  // decodes without errors
    }
}

// Without references every byte stands for itself: the decoded line is the input with the
// bytes that the character table (searched row by row) cannot translate taken out.
TEST(EncoderProperty, DecodingGivesBackTheTableMappingOfTheInput)
{
    const CSignCharTable table;
    std::mt19937 random(1207);
    for (int round = 0; round < 2000; ++round) {
        std::string line = RandomLine(random, false);
        for (std::size_t i = 1; i < line.size(); ++i) {
            if (line[i - 1] == '&' && line[i] == '#')
                line[i] = '%';
        }
        std::string expected;
        for (char byte : line) {
            const auto b = static_cast<unsigned char>(byte);
            if ((b >= 0x20 && b <= 0x7E) || table.Lookup(b) != 0)
                expected += byte;
        }
        ASSERT_EQ(DecodedText(line), expected) << "round " << round;
    }
}

} // namespace
