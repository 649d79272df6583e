#pragma once

#include "web/ListenAddress.h"

#include <optional>
#include <string>
#include <vector>

namespace tickerlux::web {

// The command line of tickerlux-web.
struct Options {
    enum class Action { Serve, SetPassword, Help, Version };
    Action action = Action::Serve;
    std::string feed;
    ListenAddress listen;
    std::vector<std::string> hostNames;  // further names the Host header may give
};

inline constexpr const char* kDefaultListen = "127.0.0.1:8080";

// Nothing, with `problem` set to what is wrong, for a usage error.
std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& problem);

// The usage text, ending with a newline.
const char* UsageText();

} // namespace tickerlux::web
