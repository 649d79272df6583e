#pragma once

#include "sign/AlphaProtocol.h"

#include <bitset>
#include <cstddef>
#include <string>
#include <string_view>

namespace tickerlux::sign {

// The sign line in the sign's character set, and the write-text transmission around it.

// A numeric character reference ("&#233;") reads at most this many digits.
inline constexpr std::size_t kMaxReferenceDigits = 7;

// Translates `length` bytes of a sign line: printable ASCII as it is, numeric references and
// the table's extended characters as their sign codes (0x08 first for characters above 0x7F),
// everything else dropped. Exactly `length` bytes are read; a reference cut off by the end
// reads 0 there. `output` must hold 2 * length bytes (its bytes past the returned count may
// be overwritten too). Returns the number of bytes of text.
std::size_t EncodeSignText(unsigned char* output, const unsigned char* input, std::size_t length);

// The Windows-1252 bytes that reach the sign as a character of their own: printable ASCII and
// the extended characters of the character table.
std::bitset<256> ShowableBytes();

// `text` as a sign line that shows it as it stands: "&#" would start a numeric reference, so
// its '&' is written as the reference "&#38;".
std::string LiteralText(std::string_view text);

// Writes the write-text transmission for file A: rotate ('a') or, when `condensed`, compressed
// rotate ('t'), the colour of `colorIndex`, the first kMaxLineLength bytes of `line`, EOT.
// `buffer` must hold kMaxTextTransmissionLength bytes. Returns the transmission's length.
std::size_t BuildTextTransmission(unsigned char* buffer, std::string_view line, int colorIndex,
                                  bool condensed);

} // namespace tickerlux::sign
