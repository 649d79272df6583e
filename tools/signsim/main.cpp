// tickerlux-signsim: a sign in software on a pseudo-terminal.
#include "tools/signsim/Options.h"
#include "tools/signsim/PortMapEntry.h"
#include "tools/signsim/Pty.h"
#include "tools/signsim/Report.h"
#include "tools/signsim/Simulator.h"
#include "tools/signsim/StopSignals.h"

#include <cstdio>
#include <exception>
#include <optional>
#include <unistd.h>

int main(int argc, char** argv)
{
    using namespace signsim;
    std::string error;
    const std::optional<Options> options = ParseOptions(argc, argv, error);
    if (!options) {
        std::fprintf(stderr, "tickerlux-signsim: %s\n%s", error.c_str(), kUsage);
        return 2;
    }
    if (options->help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    try {
        // Handlers first: a stop signal during start-up still ends with the port map restored.
        CStopSignals stop;
        CPty pty;
        std::optional<CPortMapEntry> entry;
        if (options->comPort)
            entry.emplace(*options->comPort, pty.DevicePath());
        const auto report = options->json ? MakeJsonReport(stdout)
                                          : MakeHumanReport(stdout, isatty(STDOUT_FILENO) == 1);
        if (!report->Ready(pty.DevicePath(), options->comPort))
            return 1;
        CSimulator simulator(pty, *report, stop, options->count, options->lineSpeed);
        return simulator.Run() == CSimulator::Outcome::OutputFailed ? 1 : 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tickerlux-signsim: %s\n", e.what());
        return 1;
    }
}
