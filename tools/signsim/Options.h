#pragma once

#include <optional>
#include <string>

namespace tickerlux::signsim {

struct Options {
    std::optional<int> comPort;     // --com N
    bool json = false;              // --json
    std::optional<long> count;      // --count K
    bool lineSpeed = false;         // --line-speed
    bool window = false;            // --window
    std::string picture;            // --picture FILE.png; empty without
    bool help = false;              // --help
};

// Reads the command line; nullopt with `error` set on a usage error.
std::optional<Options> ParseOptions(int argc, const char* const* argv, std::string& error);

extern const char* const kUsage;

} // namespace tickerlux::signsim
