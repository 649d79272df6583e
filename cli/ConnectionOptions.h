#pragma once

#include "engine/TickerluxEngine.h"
#include "settings/CommSettings.h"

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tickerlux::cli {

// --com N, --connection KIND and --wait SECONDS: the sign that `send`, `clear`, `update` and `watch` reach in
// this run. They apply over the stored communication settings and are never stored, so one
// machine can drive several signs.
struct ConnectionOptions {
    std::optional<int> comPort;
    std::optional<settings::ConnectionKind> connection;
    // --wait SECONDS: how long a delivery waits for a port that another program holds.
    std::optional<std::chrono::seconds> portWait;

    // Puts them into `settings`: the kind first, with its fixed values, then the port.
    void ApplyTo(settings::CommSettings& settings) const;
    // Gives `engine` the wait for a held port.
    void ApplyTo(engine::CTickerluxEngine& engine) const;
};

// Takes args[i] when it is one of the options (with its value, moving `i` past it). Returns false
// when args[i] is something else; `problem` is set when the option is bad.
bool TakeConnectionOption(const std::vector<std::string>& args, std::size_t& i,
                          ConnectionOptions& options, std::optional<std::string>& problem);

// Takes the options out of `args` wherever they stand; the other arguments stay, in order.
// Returns the problem with a bad option, if any.
std::optional<std::string> TakeConnectionOptions(std::vector<std::string>& args,
                                                 ConnectionOptions& options);

} // namespace tickerlux::cli
