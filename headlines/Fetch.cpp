#include "headlines/Fetch.h"

#include "base/AsciiCase.h"
#include "base/Win1252.h"
#include "headlines/HttpGet.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace tickerlux::headlines {

namespace {

constexpr int kDefaultPort = 80;
constexpr int kSecurePort = 443;
constexpr std::string_view kSecureScheme = "https://";

// Whether the web server starts with "https://", in any case.
bool IsSecure(std::string_view server)
{
    return base::StartsWithIgnoringAsciiCase(server, kSecureScheme);
}

bool ParsePort(std::string_view digits, int& port)
{
    if (digits.empty() || digits.size() > 5)
        return false;
    int value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > 65535)
        return false;
    port = value;
    return true;
}

// Splits the web server into host and port: "name", "name:port", "[v6]" or "[v6]:port". Anything
// else (a scheme, a slash, spaces, user info) names no server.
bool SplitWebServer(std::string_view server, std::string& host, int& port, int defaultPort)
{
    if (server.empty())
        return false;
    for (unsigned char c : server) {
        if (c <= ' ' || c == 0x7F || std::strchr("/\\?#@", c))
            return false;
    }
    port = defaultPort;
    std::size_t hostEnd = server.size();
    if (server[0] == '[') {
        hostEnd = server.find(']');
        if (hostEnd == std::string::npos)
            return false;
        ++hostEnd;
        if (hostEnd < server.size() && server[hostEnd] != ':')
            return false;
    } else {
        hostEnd = server.find(':');
        if (hostEnd != std::string::npos && server.find(':', hostEnd + 1) != std::string::npos)
            return false;
        if (hostEnd == std::string::npos)
            hostEnd = server.size();
    }
    if (hostEnd == 0)
        return false;
    if (hostEnd < server.size() && !ParsePort(std::string_view(server).substr(hostEnd + 1), port))
        return false;
    host = std::string(server.substr(0, hostEnd));
    return true;
}

} // namespace

FetchedPage Fetch(const std::string& webServer, const std::string& path, const FetchLimits& limits)
{
    FetchedPage fetched;
    http::GetRequest request;
    request.secure = IsSecure(webServer);
    const std::string_view server =
        std::string_view(webServer).substr(request.secure ? kSecureScheme.size() : 0);
    if (!SplitWebServer(server, request.host, request.port,
                        request.secure ? kSecurePort : kDefaultPort)) {
        // A failure's text is UTF-8; the field is Windows-1252.
        fetched.failure = {base::FailureKind::BadAddress, "",
                           "not a host or host:port: " + base::win1252::ToUtf8(webServer)};
        return fetched;
    }
    request.path = path;
    request.limits = limits.time;
    request.stopRequested = limits.stopRequested;
    request.caFile = limits.caFile;
    const http::GetResult result = http::Get(request, [&](std::string_view piece) {
        const std::size_t taken = std::min(piece.size(), limits.maxLength - fetched.page.size());
        fetched.page.append(piece.substr(0, taken));
        fetched.overran = taken < piece.size();
        if (limits.progress)
            limits.progress(fetched.page.size());
        return !fetched.overran;
    });
    fetched.contentType = result.contentType;
    fetched.statusCode = result.statusCode;
    if (result.status == http::GetStatus::Failed) {
        fetched.page.clear();
        fetched.overran = false;
        fetched.failure = result.failure;
    }
    return fetched;
}

} // namespace tickerlux::headlines
