#pragma once

#include <string>
#include <vector>

namespace tickerlux::cli {

// One subcommand of tickerlux-cli. `args` are the arguments after the command name.
struct Command {
    const char* name;
    const char* synopsis;  // "set FEED.tlx NAME=VALUE..."
    const char* summary;   // one line for the command list
    const char* help;      // the rest of `COMMAND --help`
    int (*run)(const std::vector<std::string>& args);
};

// The table of subcommands, in the order `--help` lists them.
const std::vector<Command>& AllCommands();

} // namespace tickerlux::cli
