#pragma once

#include "sign/Framing.h"
#include "sign/TextEncoder.h"

#include <string>
#include <string_view>
#include <vector>

// Transmissions for the virtual sign's tests: the program's own builders for the good ones,
// frames put together by hand for what the program never sends.
namespace tickerlux::test::frames {

// 20 NULs, SOH, 'Z', "00", STX, `body` (command code and data), EOT.
inline std::string Frame(std::string_view body)
{
    return std::string(20, '\0') + "\x01Z00\x02" + std::string(body) + "\x04";
}

inline std::string Text(std::string_view win1252Line, int colorIndex = 9, bool condensed = false)
{
    std::vector<unsigned char> buffer(sign::kMaxTextTransmissionLength);
    const std::size_t length =
        sign::BuildTextTransmission(buffer.data(), win1252Line, colorIndex, condensed);
    return std::string(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(length));
}

inline std::string MemoryConfig(int textTransmissionLength)
{
    const auto bytes = sign::BuildMemoryConfigTransmission(textTransmissionLength);
    return std::string(bytes.begin(), bytes.end());
}

inline std::string RunSequence()
{
    const auto bytes = sign::BuildRunSequenceTransmission();
    return std::string(bytes.begin(), bytes.end());
}

inline std::string Clear()
{
    unsigned char bytes[sign::kClearLength];
    sign::BuildClearTransmission(bytes);
    return std::string(bytes, bytes + sign::kClearLength);
}

// What an update delivers for `line`: memory configuration, text, run sequence.
inline std::vector<std::string> Update(std::string_view win1252Line, int colorIndex = 9)
{
    const std::string text = Text(win1252Line, colorIndex);
    return {MemoryConfig(static_cast<int>(text.size())), text, RunSequence()};
}

} // namespace tickerlux::test::frames
