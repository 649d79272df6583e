#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// UTF-8 decoding and encoding, shared by every place that turns text into or out of Unicode.
namespace tickerlux::base::utf8 {

// Decodes the sequence at `at` and moves `at` past it. A malformed sequence (bad lead or
// continuation byte, cut short, overlong, a surrogate, above U+10FFFF) gives nullopt and moves
// `at` past its first byte only, so decoding resumes at the next byte.
std::optional<char32_t> NextCodePoint(std::string_view text, std::size_t& at);

// Appends the UTF-8 form of a code point.
void Append(std::string& out, char32_t codePoint);

} // namespace tickerlux::base::utf8
