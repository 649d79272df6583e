#pragma once

#include "web/ApiRoutes.h"
#include "web/HttpServer.h"
#include "web/Options.h"

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tickerlux::web {

// The server of one feed: the routes over a backend, listening where the options say. Off
// loopback the password hash must be given.
class CWebServer {
public:
    // Throws std::runtime_error when it cannot listen.
    CWebServer(ISignBackend& backend, const Options& options,
               std::optional<std::string> passwordHash, SteadyClock clock = RealClock(),
               HttpLimits limits = {});

    std::uint16_t Port() const { return m_http->Port(); }
    // "http://127.0.0.1:PORT/"
    std::string Url() const;

private:
    static std::vector<std::string> AllowedHosts(const Options& options, std::uint16_t port);

    Options m_options;
    std::unique_ptr<CApiRoutes> m_routes;
    std::atomic<CApiRoutes*> m_ready = nullptr;
    std::unique_ptr<CHttpServer> m_http;
};

} // namespace tickerlux::web
