#include "cli/Commands.h"
#include "cli/EscapedStderr.h"
#include "cli/ExitCodes.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace tickerlux::cli {

namespace {

void PrintUsage(FILE* out)
{
    std::fprintf(out,
                 "Usage: tickerlux-cli COMMAND [ARGS...]\n"
                 "Keeps an LED sign showing the headlines of a web page, from a shell or a service.\n"
                 "\nCommands:\n");
    // A synopsis too long for its column gets a line of its own.
    constexpr int kColumn = 44;
    for (const cli::Command& command : cli::AllCommands()) {
        if (std::strlen(command.synopsis) > kColumn)
            std::fprintf(out, "  %s\n  %-*s %s\n", command.synopsis, kColumn, "", command.summary);
        else
            std::fprintf(out, "  %-*s %s\n", kColumn, command.synopsis, command.summary);
    }
    std::fprintf(out,
                 "\nRun 'tickerlux-cli COMMAND --help' for the details of one command.\n"
                 "Exit status: 0 done, 1 the job failed (reason on standard error),\n"
                 "2 usage error or unreadable input (nothing was changed).\n");
}

bool IsHelp(const std::string& arg)
{
    return arg == "--help" || arg == "-h";
}

} // namespace

} // namespace tickerlux::cli

int main(int argc, char** argv)
{
    using namespace tickerlux::cli;
    EscapeStandardError();
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        PrintUsage(stderr);
        return kExitUsage;
    }
    if (IsHelp(args[0])) {
        PrintUsage(stdout);
        return kExitOk;
    }
    if (args[0] == "--version") {
        std::printf("tickerlux-cli %s\n", TICKERLUX_VERSION);
        return kExitOk;
    }
    for (const Command& command : AllCommands()) {
        if (args[0] != command.name)
            continue;
        args.erase(args.begin());
        // After "--" every argument is an operand, "--help" too.
        for (const std::string& arg : args) {
            if (arg == "--")
                break;
            if (IsHelp(arg)) {
                std::printf("Usage: tickerlux-cli %s\n%s\n%s", command.synopsis, command.summary,
                            command.help);
                return kExitOk;
            }
        }
        return command.run(args);
    }
    std::fprintf(stderr, "tickerlux-cli: unknown command '%s'\n", args[0].c_str());
    PrintUsage(stderr);
    return kExitUsage;
}
