#pragma once

#include "web/ListenAddress.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

struct MHD_Daemon;

namespace tickerlux::web {

// One request as the routes see it: only the parts they use.
struct HttpRequest {
    std::string method;
    std::string path;     // without the query
    std::string host;     // the Host header
    std::string origin;   // the Origin header, empty when absent
    std::string session;  // the session cookie, empty when absent
    std::string token;    // the X-Tickerlux-Token header
    std::string client;   // the peer's address, without port
    std::string body;
};

struct HttpResponse {
    int status = 200;
    std::string contentType = "application/json";
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers;
};

// What a server allows each client.
struct HttpLimits {
    std::size_t maxBody = 64 * 1024;  // larger bodies get 413
    unsigned connections = 32;
    unsigned connectionsPerClient = 16;
    unsigned timeoutSeconds = 30;     // idle time a connection may take, headers included
    std::size_t memoryPerConnection = 32 * 1024;
};

// An HTTP/1.1 server over libmicrohttpd: a thread per connection, a cap on connections (in all
// and per address), on each connection's memory, on the time a request may take, and on the
// size of a body (413 past it). Every complete request goes to the handler.
class CHttpServer {
public:
    using Handler = std::function<HttpResponse(const HttpRequest&)>;

    // Listens at once; throws std::runtime_error with the reason when it cannot.
    CHttpServer(const ListenAddress& address, Handler handler, HttpLimits limits = {});
    // Stops listening, closes the connections and waits for their threads.
    ~CHttpServer();
    CHttpServer(const CHttpServer&) = delete;
    CHttpServer& operator=(const CHttpServer&) = delete;

    // The port bound (the free one picked when 0 was asked).
    std::uint16_t Port() const { return m_port; }

    // The name of the session cookie.
    static constexpr const char* kSessionCookie = "tickerlux_session";

private:
    friend struct CHttpServerCallbacks;

    Handler m_handler;
    HttpLimits m_limits;
    MHD_Daemon* m_daemon = nullptr;
    std::uint16_t m_port = 0;
};

} // namespace tickerlux::web
