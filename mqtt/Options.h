#pragma once

#include "mqtt/BridgeSettings.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tickerlux::mqtt {

// The options that put a front end's sign on a broker, as given.
struct MqttOptions {
    std::optional<std::string> url;              // --mqtt URL
    std::optional<std::string> name;             // --mqtt-name NAME
    std::optional<std::string> discoveryPrefix;  // --mqtt-discovery-prefix P
    bool noDiscovery = false;                    // --no-mqtt-discovery
};

// The options' synopsis and help, for a command's usage.
inline constexpr const char* kMqttSynopsis =
    "[--mqtt URL [--mqtt-name NAME] [--mqtt-discovery-prefix P] [--no-mqtt-discovery]]";

// Takes the options out of `args` wherever they stand before "--" (each value as the next
// argument or after '='); the other arguments stay, in order. Returns the problem with a bad
// option, if any.
std::optional<std::string> TakeMqttOptions(std::vector<std::string>& args, MqttOptions& options);

// Checks `options` (given with --mqtt) into `settings` for the sign of `feedPath`: the address,
// the sign's name (by default named for the feed file), the discovery prefix. The password comes
// from the address, else from `envPassword` (TICKERLUX_MQTT_PASSWORD) when a user is given.
// Returns the problem instead, if any.
std::optional<std::string> ResolveBridgeSettings(const MqttOptions& options,
                                                 std::string_view feedPath,
                                                 const char* envPassword,
                                                 BridgeSettings& settings);

} // namespace tickerlux::mqtt
