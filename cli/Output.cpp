#include "cli/Output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace tickerlux::cli {

bool FinishOutput(const char* command)
{
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return true;
    std::fprintf(stderr, "tickerlux-cli %s: cannot write the output: %s\n", command,
                 std::strerror(errno != 0 ? errno : EIO));
    return false;
}

} // namespace tickerlux::cli
