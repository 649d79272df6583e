#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tickerlux::mqtt {

// Where the broker is and who the program is there: mqtt://[user[:password]@]host[:port] (port
// 1883 by default) or mqtts://... (8883, TLS verified against the system's certificates).
struct BrokerUrl {
    bool tls = false;
    std::string host;  // an IPv6 address without its brackets
    int port = 1883;
    std::string user;
    std::optional<std::string> password;

    // "mqtt://host:port", without the user and the password, for the log.
    std::string Display() const;
};

// Reads `text` into `url`; returns what is wrong with it instead when it is no such address.
// User and password may be percent-encoded (%40 for '@').
std::optional<std::string> ParseBrokerUrl(std::string_view text, BrokerUrl& url);

} // namespace tickerlux::mqtt
