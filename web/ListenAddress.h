#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <sys/socket.h>

namespace tickerlux::web {

// Where the server listens: a numeric IPv4 or IPv6 address and a port.
struct ListenAddress {
    std::string host;  // as given, without brackets: "127.0.0.1", "::1", "0.0.0.0"
    std::uint16_t port = 0;
    sockaddr_storage socket{};
    bool ipv6 = false;
    bool loopback = false;  // 127.0.0.0/8 or ::1: only this machine can connect

    // "127.0.0.1:8080", "[::1]:8080": the host and port as a URL or a Host header names them,
    // with `port` in place of the one given (the port really bound when 0 was asked).
    std::string HostPort(std::uint16_t actualPort) const;
};

// Parses "ADDR:PORT" ("[ADDR]:PORT" for IPv6); nothing, with `problem` set, when it is not a
// numeric address and a port from 0 to 65535.
std::optional<ListenAddress> ParseListenAddress(const std::string& text, std::string& problem);

} // namespace tickerlux::web
