#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tickerlux::base {

// Says whether args[i] is one of a group's options; when it is, it takes the option's values
// (moving `i` past them) and sets `problem` when the option is bad.
using OptionTaker = std::function<bool(const std::vector<std::string>& args, std::size_t& i,
                                       std::optional<std::string>& problem)>;

// Takes a group's options out of `args` wherever they stand before "--"; the other arguments
// stay, in order. Returns the problem with the first bad option, if any.
std::optional<std::string> TakeOptions(std::vector<std::string>& args, const OptionTaker& take);

} // namespace tickerlux::base
