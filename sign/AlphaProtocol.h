#pragma once

#include <cstddef>

namespace tickerlux::sign {

// Bytes and sizes of the sign's serial protocol that the builders and the decoder share.

inline constexpr unsigned char kNul = 0x00;
inline constexpr unsigned char kSoh = 0x01;           // start of header
inline constexpr unsigned char kStx = 0x02;           // start of text
inline constexpr unsigned char kEot = 0x04;           // end of transmission
inline constexpr unsigned char kExtendedChar = 0x08;  // the next byte is an extended character
inline constexpr unsigned char kEsc = 0x1B;           // starts the mode field of a text
inline constexpr unsigned char kSelectColor = 0x1C;   // the next byte is a colour code

inline constexpr std::size_t kPreambleLength = 20;  // NULs that let the sign find the baud rate
inline constexpr char kTypeAllSigns = 'Z';
inline constexpr char kBroadcastAddress[] = "00";

inline constexpr char kCommandWriteText = 'A';
inline constexpr char kCommandWriteSpecial = 'E';
inline constexpr char kSpecialMemoryConfig = '$';
inline constexpr char kSpecialRunSequence = '.';
inline constexpr char kFileLabel = 'A';  // the one text file the program uses

inline constexpr char kPositionMiddleLine = ' ';
inline constexpr char kModeRotate = 'a';
inline constexpr char kModeCompressedRotate = 't';

// NULs, SOH, type code, address, STX and the command code.
inline constexpr std::size_t kFrameStartLength = kPreambleLength + 6;

// A sign line is cut to this many bytes; each becomes at most two bytes of text.
inline constexpr std::size_t kMaxLineLength = 30000;
// Frame start, file label, mode field (3), colour (2) and EOT around the encoded text.
inline constexpr std::size_t kTextOverhead = kFrameStartLength + 7;
inline constexpr std::size_t kMaxTextTransmissionLength = kTextOverhead + 2 * kMaxLineLength;

inline constexpr std::size_t kClearLength = 28;
inline constexpr std::size_t kMemoryConfigLength = 39;
inline constexpr std::size_t kRunSequenceLength = 31;

static_assert(kTextOverhead == 33 && kMaxTextTransmissionLength == 60033);

} // namespace tickerlux::sign
