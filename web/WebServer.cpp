#include "web/WebServer.h"

namespace tickerlux::web {

CWebServer::CWebServer(ISignBackend& backend, const Options& options,
                       std::optional<std::string> passwordHash, SteadyClock clock,
                       HttpLimits limits)
    : m_options(options)
{
    // The routes need the port bound, which is known only once the server listens; no request is
    // answered before they are in place.
    m_http = std::make_unique<CHttpServer>(
        options.listen,
        [this](const HttpRequest& request) {
            CApiRoutes* routes = m_ready.load();
            return routes ? routes->Handle(request)
                          : HttpResponse{503, "application/json", R"({"error":"Starting."})", {}};
        },
        limits);
    m_routes = std::make_unique<CApiRoutes>(
        backend, ApiConfig{AllowedHosts(options, m_http->Port()), std::move(passwordHash)}, clock);
    m_ready = m_routes.get();
}

std::string CWebServer::Url() const
{
    return "http://" + m_options.listen.HostPort(Port()) + "/";
}

std::vector<std::string> CWebServer::AllowedHosts(const Options& options, std::uint16_t port)
{
    const std::string suffix = ":" + std::to_string(port);
    std::vector<std::string> hosts = {options.listen.HostPort(port)};
    // Only this machine can reach a loopback address, under its usual name too.
    if (options.listen.loopback)
        hosts.push_back("localhost" + suffix);
    for (const std::string& name : options.hostNames) {
        hosts.push_back(name + suffix);
        if (port == 80)  // browsers leave the default port out
            hosts.push_back(name);
    }
    return hosts;
}

} // namespace tickerlux::web
