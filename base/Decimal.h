#pragma once

#include <optional>
#include <string_view>

namespace tickerlux::base {

// The decimal value a text starts with, as the C library's atoi reads it but without its
// overflow: leading white space, one '+' or '-', then digits up to the first non-digit; 0 when
// there are none; saturated at the int range.
int LeadingDecimal(std::string_view text);

// The whole text as a decimal int: an optional '-' and digits, nothing else; nothing when it is
// empty, holds anything more, or is out of the int range.
std::optional<int> WholeDecimal(std::string_view text);

} // namespace tickerlux::base
