#include "mqtt/Options.h"

#include "base/OptionArgs.h"
#include "mqtt/MachineId.h"
#include "mqtt/SignName.h"

namespace tickerlux::mqtt {
namespace {

// Takes args[i] when it is one of the options, with its value; false for anything else.
bool TakeOption(const std::vector<std::string>& args, std::size_t& i, MqttOptions& options,
                std::optional<std::string>& problem)
{
    const std::string& arg = args[i];
    const std::string name = arg.substr(0, arg.find('='));
    if (arg == "--no-mqtt-discovery") {
        options.noDiscovery = true;
        return true;
    }
    std::optional<std::string>* target = name == "--mqtt"                    ? &options.url
                                         : name == "--mqtt-name"             ? &options.name
                                         : name == "--mqtt-discovery-prefix" ? &options.discoveryPrefix
                                                                             : nullptr;
    if (!target)
        return false;
    if (name.size() < arg.size())
        *target = arg.substr(name.size() + 1);
    else if (i + 1 < args.size())
        *target = args[++i];
    else
        problem = name + " needs a value";
    return true;
}

std::optional<std::string> DiscoveryPrefixProblem(const std::string& prefix)
{
    if (prefix.empty() || prefix.front() == '/' || prefix.back() == '/' ||
        prefix.find_first_of("+#") != std::string::npos)
        return "the discovery prefix '" + prefix +
               "' must be a topic without '+' or '#' that neither starts nor ends with '/'";
    return std::nullopt;
}

} // namespace

std::optional<std::string> TakeMqttOptions(std::vector<std::string>& args, MqttOptions& options)
{
    const auto taken = base::TakeOptions(args, [&options](const std::vector<std::string>& given, std::size_t& i,
                                                          std::optional<std::string>& problem) {
        return TakeOption(given, i, options, problem);
    });
    if (taken)
        return taken;
    if (!options.url && (options.name || options.discoveryPrefix || options.noDiscovery))
        return "the --mqtt-... options need --mqtt URL";
    return std::nullopt;
}

std::optional<std::string> ResolveBridgeSettings(const MqttOptions& options,
                                                 std::string_view feedPath,
                                                 const char* envPassword,
                                                 BridgeSettings& settings)
{
    BridgeSettings result;
    if (std::optional<std::string> problem = ParseBrokerUrl(options.url.value_or(""), result.broker))
        return problem;
    if (!result.broker.password && !result.broker.user.empty() && envPassword)
        result.broker.password = envPassword;
    result.signName = options.name.value_or(DefaultSignName(feedPath));
    if (std::optional<std::string> problem = SignNameProblem(result.signName))
        return problem;
    result.discoveryPrefix = options.discoveryPrefix.value_or(result.discoveryPrefix);
    if (std::optional<std::string> problem = DiscoveryPrefixProblem(result.discoveryPrefix))
        return problem;
    result.discovery = !options.noDiscovery;
    result.machineId = MachineId();
    settings = std::move(result);
    return std::nullopt;
}

} // namespace tickerlux::mqtt
