#include "headlines/TickerluxEngine.h"

#include "headlines/HttpGet.h"
#include "headlines/UserInterface.h"
#include "settings/TickerluxDoc.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

const char kConnectionError[] =
    "Error connecting to the website.\n\nThe field, \"Web Server:\" field should not contain "
    "\"http://\"or any other forward-slashes. The next field, \"Directory/File on Website\" must "
    "start with a forward-slash and may contain more as needed.  From a web browser, you can cut "
    "and paste the URL directly following the servername into this second field - please load "
    "the included datafiles for an example.";
const char kOverrunNotice[] = "File overran buffer -- not cached";

constexpr int kDefaultPort = 80;

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

// Splits WebServer into host and port: "name", "name:port", "[v6]" or "[v6]:port". Anything
// else (a scheme, a slash, spaces, user info) names no server.
bool SplitWebServer(const std::string& server, std::string& host, int& port)
{
    if (server.empty())
        return false;
    for (unsigned char c : server) {
        if (c <= ' ' || c == 0x7F || std::strchr("/\\?#@", c))
            return false;
    }
    port = kDefaultPort;
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
    host = server.substr(0, hostEnd);
    return true;
}

} // namespace

bool CTickerluxEngine::FetchPage()
{
    http::GetRequest request;
    request.path = m_doc.WebPath;
    std::size_t length = 0;
    bool overran = false;
    http::GetResult result = http::GetResult::Failed;
    if (SplitWebServer(m_doc.WebServer, request.host, request.port)) {
        char* page = m_pageBuffer.get();
        // The page takes the first kMaxPageLength bytes; a byte beyond them ends the transfer.
        result = http::Get(request, [&](std::string_view piece) {
            const std::size_t taken = std::min(piece.size(), kMaxPageLength - length);
            std::memcpy(page + length, piece.data(), taken);
            length += taken;
            overran = taken < piece.size();
            return !overran;
        });
    }
    if (result == http::GetResult::Failed) {
        m_ui.MessageBox(kConnectionError);
        return false;
    }
    m_pageBuffer[length] = '\0';
    if (overran)
        m_ui.MessageBox(kOverrunNotice);
    m_doc.SourceText = m_pageBuffer.get();
    return true;
}
