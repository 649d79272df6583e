#pragma once

#include "mqtt/BridgeSettings.h"

#include <string>
#include <utility>
#include <vector>

namespace tickerlux::mqtt {

// The retained configurations that make a sign one device in Home Assistant: a text entity for
// the message, buttons for Update and Clear, and a sensor for the line on the sign, each
// available while the sign's availability topic says "online". Pairs of topic and payload.
std::vector<std::pair<std::string, std::string>> DiscoveryMessages(const BridgeSettings& settings);

} // namespace tickerlux::mqtt
