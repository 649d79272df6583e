#pragma once

#include "mqtt/BrokerUrl.h"

#include <chrono>
#include <string>

namespace tickerlux::mqtt {

// How long to wait before trying the broker again: `first` after a failure, doubling after each
// further one up to `longest`, and `first` again once a connection has come up.
struct RetryDelays {
    std::chrono::milliseconds first{1000};
    std::chrono::milliseconds longest{60000};

    std::chrono::milliseconds After(std::chrono::milliseconds delay) const
    {
        return delay * 2 < longest ? delay * 2 : longest;
    }
};

// Everything the bridge needs to know, checked.
struct BridgeSettings {
    BrokerUrl broker;
    std::string signName;
    std::string discoveryPrefix = "homeassistant";
    bool discovery = true;
    std::string machineId;  // part of every unique id of the sign's entities
    RetryDelays retry;
};

} // namespace tickerlux::mqtt
