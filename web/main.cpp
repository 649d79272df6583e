// tickerlux-web: the sign's own web page for one feed and one sign.
#include "web/AutoUpdate.h"
#include "web/EngineBackend.h"
#include "web/Options.h"
#include "web/Password.h"
#include "web/PasswordPrompt.h"
#include "web/WebServer.h"

#include <csignal>
#include <cstdio>
#include <ctime>
#include <exception>
#include <string>
#include <vector>

using namespace tickerlux::web;

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

int UsageError(const std::string& problem)
{
    std::fprintf(stderr, "tickerlux-web: %s\n%s", problem.c_str(), UsageText());
    return kExitUsage;
}

int SetPassword()
{
    std::string problem;
    const std::optional<std::string> password = ReadNewPassword(problem);
    if (!password) {
        std::fprintf(stderr, "tickerlux-web: %s\n", problem.c_str());
        return kExitUsage;
    }
    const std::optional<std::string> hash = HashPassword(*password, InteractiveCost());
    if (!hash) {
        std::fprintf(stderr, "tickerlux-web: the password could not be stored (out of memory)\n");
        return kExitFailed;
    }
    if (const tickerlux::base::Failure failure = StorePasswordHash(*hash); failure.Failed()) {
        std::fprintf(stderr, "tickerlux-web: the password could not be stored: %s\n",
                     failure.Text().c_str());
        return kExitFailed;
    }
    std::fprintf(stderr, "The password of the sign's web page is stored.\n");
    return kExitOk;
}

// Waits for SIGINT, SIGTERM or SIGHUP (blocked in every thread), polling the auto-update once a
// second meanwhile.
void RunUntilSignal(const sigset_t& signals, ISignBackend& backend)
{
    CAutoUpdate autoUpdate([&backend] { backend.Start(Command::UpdateSignNow); });
    const timespec second{1, 0};
    for (;;) {
        if (sigtimedwait(&signals, nullptr, &second) > 0)
            return;
        autoUpdate.Poll(backend.AutoUpdateMinutes(), std::chrono::steady_clock::now());
    }
}

int Serve(const Options& options)
{
    // The per-user store is read once here; each job reads its port map afresh.
    const tickerlux::settings::LoadedUserSettings stored = tickerlux::settings::LoadUserSettings();
    if (stored.failure.Failed()) {
        std::fprintf(stderr, "tickerlux-web: cannot read %s\n", stored.failure.Text().c_str());
        return kExitFailed;
    }
    std::optional<std::string> hash;
    if (!options.listen.loopback) {
        if (!stored.settings.WebPasswordHash.empty())
            hash = stored.settings.WebPasswordHash;
        if (!hash) {
            std::fprintf(stderr,
                         "tickerlux-web: listening on %s, off this machine, needs a password; "
                         "set one with 'tickerlux-web --set-password'\n",
                         options.listen.host.c_str());
            return kExitUsage;
        }
    }
    std::string problem;
    const std::unique_ptr<ISignBackend> backend = OpenEngineBackend(options.feed, stored.settings, problem);
    if (!backend) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        return kExitUsage;
    }
    // Blocked before any thread starts, so that only the wait below takes them.
    sigset_t signals;
    sigemptyset(&signals);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&signals, signal);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    try {
        CWebServer server(*backend, options, hash);
        std::printf("Listening on %s\n", server.Url().c_str());
        std::fflush(stdout);
        RunUntilSignal(signals, *backend);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tickerlux-web: %s\n", e.what());
        return kExitFailed;
    }
    // A download under way is abandoned; a delivery under way finishes first.
    backend->Stop();
    backend->WaitForJob();
    return kExitOk;
}

} // namespace

int main(int argc, char** argv)
{
    std::string problem;
    const std::optional<Options> options =
        ParseOptions(std::vector<std::string>(argv + 1, argv + argc), problem);
    if (!options)
        return UsageError(problem);
    switch (options->action) {
    case Options::Action::Help:
        std::fputs(UsageText(), stdout);
        return kExitOk;
    case Options::Action::Version:
        std::printf("tickerlux-web %s\n", TICKERLUX_VERSION);
        return kExitOk;
    case Options::Action::SetPassword:
        return SetPassword();
    case Options::Action::Serve:
        break;
    }
    return Serve(*options);
}
