#include "web/Options.h"

namespace tickerlux::web {

const char* UsageText()
{
    return "Usage: tickerlux-web FEED.tlx [--listen ADDR:PORT] [--host-name NAME]...\n"
           "       tickerlux-web --set-password\n"
           "Serves the sign's own web page for one feed and one sign until SIGINT, SIGTERM or\n"
           "SIGHUP.\n"
           "  --listen ADDR:PORT  numeric address and port to listen on (default 127.0.0.1:8080;\n"
           "                      port 0 picks a free one); off loopback a password is needed\n"
           "  --host-name NAME    a name under which browsers reach this machine (repeatable);\n"
           "                      requests naming any other host are refused\n"
           "  --set-password      store the page's password (read from the terminal without\n"
           "                      echo, or one line of standard input)\n"
           "Exit status: 0 stopped by a signal; 1 cannot listen or store; 2 usage error or a\n"
           "feed file that cannot be read.\n";
}

std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& problem)
{
    Options options;
    std::string listen = kDefaultListen;
    bool operandsOnly = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (operandsOnly || arg.empty() || arg[0] != '-') {
            if (!options.feed.empty()) {
                problem = "more than one feed file given";
                return std::nullopt;
            }
            options.feed = arg;
        } else if (arg == "--") {
            operandsOnly = true;
        } else if (arg == "--help" || arg == "-h") {
            options.action = Options::Action::Help;
            return options;
        } else if (arg == "--version") {
            options.action = Options::Action::Version;
            return options;
        } else if (arg == "--set-password") {
            options.action = Options::Action::SetPassword;
        } else if (arg == "--listen" && hasValue) {
            listen = args[++i];
        } else if (arg == "--host-name" && hasValue && !args[i + 1].empty()) {
            options.hostNames.push_back(args[++i]);
        } else if (arg == "--listen" || arg == "--host-name") {
            problem = arg + " needs a value";
            return std::nullopt;
        } else {
            problem = "unknown option '" + arg + "'";
            return std::nullopt;
        }
    }
    if (options.action == Options::Action::SetPassword) {
        if (!options.feed.empty()) {
            problem = "--set-password takes no feed file";
            return std::nullopt;
        }
        return options;
    }
    if (options.feed.empty()) {
        problem = "no feed file given";
        return std::nullopt;
    }
    const std::optional<ListenAddress> address = ParseListenAddress(listen, problem);
    if (!address)
        return std::nullopt;
    options.listen = *address;
    return options;
}

} // namespace tickerlux::web
