#pragma once

#include <optional>
#include <string>

namespace tickerlux::web {

// Reads a new password: from a terminal without echo, asked twice; otherwise one line of
// standard input. Nothing, with `problem` set, when none was given or the two differ.
std::optional<std::string> ReadNewPassword(std::string& problem);

} // namespace tickerlux::web
