#include "cli/Usage.h"

#include "cli/ExitCodes.h"

#include <cstdio>
#include <string_view>

namespace tickerlux::cli {

int UsageError(const char* synopsis, const std::string& problem)
{
    const std::string_view whole(synopsis);
    const std::string_view command = whole.substr(0, whole.find(' '));
    std::fprintf(stderr, "tickerlux-cli %.*s: %s\nUsage: tickerlux-cli %s\n",
                 static_cast<int>(command.size()), command.data(), problem.c_str(), synopsis);
    return kExitUsage;
}

const std::string* FeedArgument(const char* synopsis, const std::vector<std::string>& args)
{
    if (args.size() == 1 && !args[0].empty() && args[0][0] != '-')
        return &args[0];
    UsageError(synopsis, "give exactly one FEED.tlx");
    return nullptr;
}

} // namespace tickerlux::cli
