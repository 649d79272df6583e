#pragma once

#include <optional>
#include <string>
#include <string_view>

// The program's texts are Windows-1252 bytes; the outside world (widgets, terminals) speaks Unicode.
namespace tickerlux::base::win1252 {

// The Unicode code point of one Windows-1252 byte; bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D,
// which the code page leaves undefined, map to the C1 control of the same value.
char32_t ToUnicode(unsigned char byte);

// The Windows-1252 byte of a code point, or '?' when the code page has none.
char FromUnicode(char32_t codePoint);

std::string ToUtf8(std::string_view bytes);

// Malformed UTF-8 sequences become '?' one byte at a time.
std::string FromUtf8(std::string_view utf8);

// The bytes of a UTF-8 text that the code page holds in full; nothing when any character lacks a
// Windows-1252 form or a sequence is malformed.
std::optional<std::string> FromUtf8Exactly(std::string_view utf8);

// Little-endian UTF-16 code units (surrogate pairs joined; lone surrogates become '?').
std::string FromUtf16Le(std::string_view units);

} // namespace tickerlux::base::win1252
