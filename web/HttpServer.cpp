#include "web/HttpServer.h"

#include <microhttpd.h>
#include <nlohmann/json.hpp>

#include <arpa/inet.h>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <netinet/in.h>
#include <stdexcept>

namespace tickerlux::web {

namespace {

// What one request gathers between the calls of the access handler.
struct Exchange {
    std::string body;
    bool tooLarge = false;
};

std::string Header(MHD_Connection* connection, MHD_ValueKind kind, const char* name)
{
    const char* value = MHD_lookup_connection_value(connection, kind, name);
    return value ? value : "";
}

std::string ClientAddress(MHD_Connection* connection)
{
    const MHD_ConnectionInfo* info =
        MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
    if (!info || !info->client_addr)
        return "";
    char text[INET6_ADDRSTRLEN] = {};
    const sockaddr* peer = info->client_addr;
    if (peer->sa_family == AF_INET)
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(peer)->sin_addr, text, sizeof text);
    else if (peer->sa_family == AF_INET6)
        inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6*>(peer)->sin6_addr, text, sizeof text);
    return text;
}

MHD_Result Send(MHD_Connection* connection, const HttpResponse& answer)
{
    MHD_Response* response = MHD_create_response_from_buffer(
        answer.body.size(), const_cast<char*>(answer.body.data()), MHD_RESPMEM_MUST_COPY);
    if (!response)
        return MHD_NO;
    MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, answer.contentType.c_str());
    for (const auto& [name, value] : answer.headers)
        MHD_add_response_header(response, name.c_str(), value.c_str());
    const MHD_Result queued =
        MHD_queue_response(connection, static_cast<unsigned>(answer.status), response);
    MHD_destroy_response(response);
    return queued;
}

HttpResponse TooLarge()
{
    return {413, "application/json", R"({"error":"The request is too large."})", {}};
}

void Completed(void* /*self*/, MHD_Connection* /*connection*/, void** context,
               MHD_RequestTerminationCode /*code*/)
{
    delete static_cast<Exchange*>(*context);
    *context = nullptr;
}

void LogError(void* /*self*/, const char* format, va_list args)
{
    std::fputs("tickerlux-web: ", stderr);
    std::vfprintf(stderr, format, args);
}

} // namespace

struct CHttpServerCallbacks {
    static MHD_Result Access(void* self, MHD_Connection* connection, const char* url,
                             const char* method, const char* version, const char* uploadData,
                             std::size_t* uploadSize, void** context);
};

MHD_Result CHttpServerCallbacks::Access(void* self, MHD_Connection* connection, const char* url,
                                        const char* method, const char* /*version*/,
                                        const char* uploadData, std::size_t* uploadSize,
                                        void** context)
{
    auto& server = *static_cast<CHttpServer*>(self);
    auto* exchange = static_cast<Exchange*>(*context);
    if (!exchange) {
        *context = exchange = new Exchange;
        // A body announced as too large is refused before a byte of it is read.
        const std::string length = Header(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_CONTENT_LENGTH);
        if (!length.empty() && (length.size() > 18 || std::stoull(length) > server.m_limits.maxBody))
            return Send(connection, TooLarge());
        return MHD_YES;
    }
    if (*uploadSize != 0) {
        if (exchange->body.size() + *uploadSize > server.m_limits.maxBody)
            exchange->tooLarge = true;
        else
            exchange->body.append(uploadData, *uploadSize);
        *uploadSize = 0;
        return MHD_YES;
    }
    if (exchange->tooLarge)
        return Send(connection, TooLarge());

    HttpRequest request;
    request.method = method;
    request.path = url;
    request.host = Header(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_HOST);
    request.origin = Header(connection, MHD_HEADER_KIND, "Origin");
    request.session = Header(connection, MHD_COOKIE_KIND, CHttpServer::kSessionCookie);
    request.token = Header(connection, MHD_HEADER_KIND, "X-Tickerlux-Token");
    request.client = ClientAddress(connection);
    request.body = std::move(exchange->body);
    HttpResponse response;
    try {
        response = server.m_handler(request);
    } catch (const std::exception& e) {
        response = {500, "application/json", nlohmann::json{{"error", e.what()}}.dump(), {}};
    }
    return Send(connection, response);
}

CHttpServer::CHttpServer(const ListenAddress& address, Handler handler, HttpLimits limits)
    : m_handler(std::move(handler)), m_limits(limits)
{
    unsigned flags = MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_THREAD_PER_CONNECTION | MHD_USE_ERROR_LOG;
    if (address.ipv6)
        flags |= MHD_USE_IPv6;
    errno = 0;
    m_daemon = MHD_start_daemon(
        flags, address.port, nullptr, nullptr,
        &CHttpServerCallbacks::Access, this,
        MHD_OPTION_EXTERNAL_LOGGER, &LogError, nullptr,
        MHD_OPTION_SOCK_ADDR, reinterpret_cast<const sockaddr*>(&address.socket),
        MHD_OPTION_CONNECTION_LIMIT, limits.connections,
        MHD_OPTION_PER_IP_CONNECTION_LIMIT, limits.connectionsPerClient,
        MHD_OPTION_CONNECTION_TIMEOUT, limits.timeoutSeconds,
        MHD_OPTION_CONNECTION_MEMORY_LIMIT, limits.memoryPerConnection,
        MHD_OPTION_NOTIFY_COMPLETED, &Completed, nullptr,
        MHD_OPTION_END);
    if (!m_daemon) {
        const int error = errno;
        throw std::runtime_error("cannot listen on " + address.HostPort(address.port) +
                                 (error ? std::string(": ") + std::strerror(error) : std::string()));
    }
    const MHD_DaemonInfo* info = MHD_get_daemon_info(m_daemon, MHD_DAEMON_INFO_BIND_PORT);
    m_port = info ? info->port : address.port;
}

CHttpServer::~CHttpServer()
{
    MHD_stop_daemon(m_daemon);
}

} // namespace tickerlux::web
