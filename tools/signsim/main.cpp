// tickerlux-signsim: a sign in software on a pseudo-terminal.
#include "tools/signsim/DisplayCheck.h"
#include "tools/signsim/FacePicture.h"
#include "tools/signsim/FaceReport.h"
#include "tools/signsim/Options.h"
#include "tools/signsim/PortMapEntry.h"
#include "tools/signsim/Pty.h"
#include "tools/signsim/Report.h"
#include "tools/signsim/SignWindow.h"
#include "tools/signsim/Simulator.h"
#include "tools/signsim/StopSignals.h"

#include <QGuiApplication>

#include <cstdio>
#include <exception>
#include <optional>
#include <vector>
#include <unistd.h>

int main(int argc, char** argv)
{
    using namespace tickerlux::signsim;
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
    if (options->window && !HasDisplay()) {
        std::fputs("tickerlux-signsim: --window needs a display (DISPLAY is not set); "
                   "--picture FILE.png works without one\n", stderr);
        return 2;
    }
    if (options->window) {
        if (const auto problem = tickerlux::signsim::DisplayProblem()) {
            std::fprintf(stderr, "tickerlux-signsim: %s\n", problem->c_str());
            return 2;
        }
    }
    try {
        // Handlers first: a stop signal during start-up still ends with the port map restored.
        CStopSignals stop;
        CPty pty;
        std::optional<CPortMapEntry> entry;
        if (options->comPort)
            entry.emplace(*options->comPort, pty.DevicePath());
        const auto printed = options->json ? MakeJsonReport(stdout)
                                           : MakeHumanReport(stdout, isatty(STDOUT_FILENO) == 1);
        std::vector<CFaceReport::Face> faces;
        if (!options->picture.empty()) {
            // The sign starts blank: its picture is written at once, so a path that cannot be
            // written is known before the sign is announced.
            if (const auto problem = WriteFacePicture(options->picture, tickerlux::signsim::Display{})) {
                std::fprintf(stderr, "tickerlux-signsim: %s\n", problem->c_str());
                return 1;
            }
            faces.push_back(PictureFace(options->picture));
        }
        std::optional<QGuiApplication> app;
        std::optional<CSignWindow> window;
        if (options->window) {
            app.emplace(argc, argv);
            faces.push_back(window.emplace().Face());
        }
        CFaceReport report(*printed, std::move(faces));
        if (!report.Ready(pty.DevicePath(), options->comPort))
            return 1;
        CSimulator simulator(pty, report, stop, options->count, options->lineSpeed);
        const CSimulator::Outcome outcome =
            window ? RunBeside(*window, simulator, stop) : simulator.Run();
        return outcome == CSimulator::Outcome::OutputFailed ? 1 : 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tickerlux-signsim: %s\n", e.what());
        return 1;
    }
}
