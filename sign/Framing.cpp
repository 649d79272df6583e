#include "sign/Framing.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace tickerlux::sign {

std::size_t WriteFrameStart(unsigned char* buffer, char commandCode)
{
    std::memset(buffer, kNul, kPreambleLength);
    unsigned char* p = buffer + kPreambleLength;
    *p++ = kSoh;
    *p++ = kTypeAllSigns;
    *p++ = kBroadcastAddress[0];
    *p++ = kBroadcastAddress[1];
    *p++ = kStx;
    *p++ = static_cast<unsigned char>(commandCode);
    return kFrameStartLength;
}

std::size_t BuildClearTransmission(unsigned char* buffer)
{
    unsigned char* p = buffer + WriteFrameStart(buffer, kCommandWriteText);
    *p++ = kFileLabel;
    *p++ = kEot;
    return kClearLength;
}

std::array<unsigned char, kMemoryConfigLength> BuildMemoryConfigTransmission(
    int textTransmissionLength)
{
    std::array<unsigned char, kMemoryConfigLength> bytes{};
    unsigned char* p = bytes.data() + WriteFrameStart(bytes.data(), kCommandWriteSpecial);
    *p++ = kSpecialMemoryConfig;
    *p++ = kFileLabel;
    *p++ = 'A';  // file type TEXT
    *p++ = 'U';  // unlocked: the keyboard may change it
    char size[8];
    std::snprintf(size, sizeof size, "%04X",
                  static_cast<unsigned>(std::clamp(textTransmissionLength, 0, 0xFFFF)));
    p = std::copy(size, size + 4, p);
    for (char c : {'F', 'F', '0', '0'})  // start time "FF" (always), stop time "00"
        *p++ = static_cast<unsigned char>(c);
    *p++ = kEot;
    return bytes;
}

std::array<unsigned char, kRunSequenceLength> BuildRunSequenceTransmission()
{
    std::array<unsigned char, kRunSequenceLength> bytes{};
    unsigned char* p = bytes.data() + WriteFrameStart(bytes.data(), kCommandWriteSpecial);
    *p++ = kSpecialRunSequence;
    *p++ = 'S';  // run sequence type: by the files' own times
    *p++ = 'L';  // locked
    *p++ = kFileLabel;
    *p++ = kEot;
    return bytes;
}

} // namespace tickerlux::sign
