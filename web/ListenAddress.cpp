#include "web/ListenAddress.h"

#include <arpa/inet.h>
#include <cstring>
#include <netinet/in.h>

namespace tickerlux::web {

std::string ListenAddress::HostPort(std::uint16_t actualPort) const
{
    return (ipv6 ? "[" + host + "]" : host) + ":" + std::to_string(actualPort);
}

std::optional<ListenAddress> ParseListenAddress(const std::string& text, std::string& problem)
{
    const auto colon = text.rfind(':');
    if (colon == std::string::npos) {
        problem = "'" + text + "' is not ADDR:PORT";
        return std::nullopt;
    }
    ListenAddress address;
    address.host = text.substr(0, colon);
    const std::string port = text.substr(colon + 1);
    if (address.host.size() > 2 && address.host.front() == '[' && address.host.back() == ']')
        address.host = address.host.substr(1, address.host.size() - 2);
    if (port.empty() || port.size() > 5 || port.find_first_not_of("0123456789") != std::string::npos ||
        std::stoul(port) > 65535) {
        problem = "'" + port + "' is not a port number (0 to 65535)";
        return std::nullopt;
    }
    address.port = static_cast<std::uint16_t>(std::stoul(port));

    auto* v4 = reinterpret_cast<sockaddr_in*>(&address.socket);
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&address.socket);
    if (inet_pton(AF_INET, address.host.c_str(), &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
        v4->sin_port = htons(address.port);
        address.loopback = (ntohl(v4->sin_addr.s_addr) >> 24) == 127;
    } else if (inet_pton(AF_INET6, address.host.c_str(), &v6->sin6_addr) == 1) {
        v6->sin6_family = AF_INET6;
        v6->sin6_port = htons(address.port);
        address.ipv6 = true;
        address.loopback = IN6_IS_ADDR_LOOPBACK(&v6->sin6_addr);
    } else {
        problem = "'" + address.host + "' is not a numeric IPv4 or IPv6 address";
        return std::nullopt;
    }
    return address;
}

} // namespace tickerlux::web
