#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tickerlux::headlines {

// The name of the "replacement" encoding: its labels name encodings that browsers refuse to
// decode (a page in one of them reads as a single U+FFFD, so it has no text at all).
inline constexpr std::string_view kReplacementEncoding = "replacement";

// One encoding of the WHATWG Encoding Standard: its name, the ICU converter that decodes it as
// browsers do, and all its labels, separated by spaces.
struct Encoding {
    std::string_view name;
    std::string_view converter;
    std::string_view labels;
};

// Every encoding of the standard's label table.
std::span<const Encoding> Encodings();

// The encoding a label names (ASCII white space around it and letter case do not count), or
// nothing for a label the table lacks.
std::optional<Encoding> EncodingForLabel(std::string_view label);

}  // namespace tickerlux::headlines
