#include "cli/ConnectionOptions.h"

#include "base/OptionArgs.h"
#include "cli/ConnectionKinds.h"

#include <charconv>

namespace tickerlux::cli {

void ConnectionOptions::ApplyTo(settings::CommSettings& settings) const
{
    if (connection)
        settings.ChooseKind(*connection);
    if (comPort)
        settings.ComPort = *comPort;
}

void ConnectionOptions::ApplyTo(engine::CTickerluxEngine& engine) const
{
    if (portWait)
        engine.SetPortWaitLimit(*portWait);
}

bool TakeConnectionOption(const std::vector<std::string>& args, std::size_t& i,
                          ConnectionOptions& options, std::optional<std::string>& problem)
{
    const std::string& arg = args[i];
    std::string name = arg.substr(0, arg.find('='));
    if (name != "--com" && name != "--connection" && name != "--wait")
        return false;
    std::string value;
    if (name.size() < arg.size()) {
        value = arg.substr(name.size() + 1);
    } else if (i + 1 < args.size()) {
        value = args[++i];
    } else {
        problem = name + " needs a value";
        return true;
    }
    if (name == "--wait") {
        int seconds = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), seconds);
        if (error != std::errc() || end != value.data() + value.size() || seconds < 0)
            problem = "--wait needs a number of seconds, 0 or more, not '" + value + "'";
        else
            options.portWait = std::chrono::seconds(seconds);
    } else if (name == "--com") {
        int port = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), port);
        if (error != std::errc() || end != value.data() + value.size() || port < 1)
            problem = "--com needs a port number of 1 or more, not '" + value + "'";
        else
            options.comPort = port;
    } else if (const settings::ConnectionKind kind = settings::ConnectionKindOf(value); kind != settings::ConnectionKind::None) {
        options.connection = kind;
    } else {
        problem = "unknown connection kind '" + value + "'; " + ConnectionKindChoices();
    }
    return true;
}

std::optional<std::string> TakeConnectionOptions(std::vector<std::string>& args,
                                                 ConnectionOptions& options)
{
    return base::TakeOptions(args, [&options](const std::vector<std::string>& given, std::size_t& i,
                                              std::optional<std::string>& problem) {
        return TakeConnectionOption(given, i, options, problem);
    });
}

} // namespace tickerlux::cli
