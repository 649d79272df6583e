#pragma once

#include "sign/AlphaProtocol.h"

#include <array>
#include <cstddef>

namespace tickerlux::sign {

// The transmissions other than write-text, byte for byte, and the frame start they all share.

// Writes the NUL preamble, SOH, 'Z', "00", STX and `commandCode`; returns kFrameStartLength.
std::size_t WriteFrameStart(unsigned char* buffer, char commandCode);

// Write-text for file A with no data at all: the sign shows nothing. Writes kClearLength bytes
// and leaves the rest of the buffer as it was; returns kClearLength.
std::size_t BuildClearTransmission(unsigned char* buffer);

// Declares file A an unlocked TEXT file of `textTransmissionLength` bytes (the whole write-text
// transmission that follows), as four upper-case hexadecimal digits. Write-text transmissions
// are 33 to 60,033 bytes long; a length outside 0..0xFFFF, which no caller has, is clamped so
// the field keeps its four digits.
std::array<unsigned char, kMemoryConfigLength> BuildMemoryConfigTransmission(
    int textTransmissionLength);

// A run sequence that holds file A alone, locked.
std::array<unsigned char, kRunSequenceLength> BuildRunSequenceTransmission();

} // namespace tickerlux::sign
