#pragma once

#include <string>
#include <vector>

namespace tickerlux::cli {

// Says on standard error what is wrong with a command's arguments and how it is called
// ("tickerlux-cli send: no TEXT given", then "Usage: tickerlux-cli SYNOPSIS"); returns the usage
// exit status. `synopsis` begins with the command's name, as in the command table.
int UsageError(const char* synopsis, const std::string& problem);

// The one FEED.tlx argument of a command that takes nothing else, or nullptr after a usage
// message.
const std::string* FeedArgument(const char* synopsis, const std::vector<std::string>& args);

} // namespace tickerlux::cli
