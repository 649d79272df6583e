#include "tools/pageserver/PageServer.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <iterator>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>
#include <zlib.h>

namespace tickerlux::pageserver {

struct CPageServer::Connection {
    std::thread thread;
    bool done = false;  // guarded by m_mutex
};

namespace {

constexpr std::size_t kMaxRequestHead = 64 * 1024;

const char* ReasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 204: return "No Content";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 303: return "See Other";
    case 304: return "Not Modified";
    case 307: return "Temporary Redirect";
    case 308: return "Permanent Redirect";
    case 400: return "Bad Request";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return "Status";
    }
}

bool HasNoBody(int status)
{
    return (status >= 100 && status < 200) || status == 204 || status == 304;
}

std::string ErrnoText(const char* what)
{
    return std::string(what) + ": " + std::strerror(errno);
}

} // namespace

CPageServer::Response CPageServer::Page(std::string body, int status, const std::string& contentType)
{
    Response response;
    response.status = status;
    response.headers.emplace_back("Content-Type", contentType);
    response.body = std::move(body);
    return response;
}

CPageServer::Response CPageServer::RedirectTo(const std::string& location, int status)
{
    Response response;
    response.status = status;
    response.headers.emplace_back("Location", location);
    return response;
}

CPageServer::Response CPageServer::Trickle(std::string body, std::size_t bytes,
                                           std::chrono::milliseconds pause)
{
    Response response = Page(std::move(body));
    response.trickleBytes = bytes;
    response.tricklePause = pause;
    return response;
}

CPageServer::Response CPageServer::Compressed(const std::string& page, Encoding encoding)
{
    // zlib's window bits choose the wrapper: 15 + 16 for gzip, 15 for the zlib stream that HTTP
    // calls "deflate".
    const int windowBits = encoding == Encoding::Gzip ? 15 + 16 : 15;
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, windowBits, 9, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2 failed");
    std::string packed(deflateBound(&stream, static_cast<uLong>(page.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(page.data()));
    stream.avail_in = static_cast<uInt>(page.size());
    stream.next_out = reinterpret_cast<Bytef*>(packed.data());
    stream.avail_out = static_cast<uInt>(packed.size());
    const int result = deflate(&stream, Z_FINISH);
    packed.resize(stream.total_out);
    deflateEnd(&stream);
    if (result != Z_STREAM_END)
        throw std::runtime_error("deflate failed");
    Response response = Page(std::move(packed));
    response.headers.emplace_back("Content-Encoding", encoding == Encoding::Gzip ? "gzip" : "deflate");
    return response;
}

CPageServer::Response CPageServer::CutOff(std::string body, std::size_t cutAfter)
{
    Response response = Page(std::move(body));
    response.cutAfter = cutAfter;
    return response;
}

CPageServer::Response CPageServer::Hang()
{
    Response response;
    response.hang = true;
    return response;
}

CPageServer::Response CPageServer::Held(std::string body)
{
    Response response = Page(std::move(body));
    response.held = true;
    return response;
}

CPageServer::CPageServer(std::uint16_t port)
{
    if (pipe2(m_wakePipe, O_CLOEXEC) != 0)
        throw std::runtime_error(ErrnoText("pipe2"));
    if (pipe2(m_releasePipe, O_CLOEXEC) != 0) {
        const std::string error = ErrnoText("pipe2");
        ClosePipes();
        throw std::runtime_error(error);
    }
    m_listenFd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_listenFd < 0) {
        const std::string error = ErrnoText("socket");
        ClosePipes();
        throw std::runtime_error(error);
    }
    const int on = 1;
    setsockopt(m_listenFd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);

    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (bind(m_listenFd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0
        || listen(m_listenFd, SOMAXCONN) != 0
        || getsockname(m_listenFd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        const std::string error = ErrnoText("listen on 127.0.0.1");
        close(m_listenFd);
        ClosePipes();
        throw std::runtime_error(error);
    }
    m_port = ntohs(address.sin_port);
    m_acceptThread = std::thread([this] { AcceptLoop(); });
}

CPageServer::~CPageServer()
{
    const char wake = 1;
    while (write(m_wakePipe[1], &wake, 1) < 0 && errno == EINTR) {
    }
    m_acceptThread.join();
    // The accept loop has ended, so the list no longer grows.
    for (auto& connection : m_connections)
        connection->thread.join();
    close(m_listenFd);
    ClosePipes();
}

void CPageServer::ClosePipes()
{
    for (int fd : {m_wakePipe[0], m_wakePipe[1], m_releasePipe[0], m_releasePipe[1]})
        if (fd >= 0)
            close(fd);
}

std::string CPageServer::HostPort() const
{
    return "127.0.0.1:" + std::to_string(m_port);
}

std::string CPageServer::Url(const std::string& path) const
{
    return "http://" + HostPort() + path;
}

void CPageServer::Serve(const std::string& path, Response response)
{
    std::lock_guard lock(m_mutex);
    m_routes[path] = std::move(response);
}

void CPageServer::Redirect(const std::string& path, const std::string& location, int status)
{
    Serve(path, RedirectTo(location, status));
}

void CPageServer::ReleaseHeld()
{
    const char release = 1;
    while (write(m_releasePipe[1], &release, 1) < 0 && errno == EINTR) {
    }
}

CPageServer::PathStats CPageServer::Stats(const std::string& path) const
{
    std::lock_guard lock(m_mutex);
    auto it = m_stats.find(path);
    return it == m_stats.end() ? PathStats{} : it->second;
}

bool CPageServer::WaitForConnections(const std::string& path, int count, int timeoutMs) const
{
    return WaitForCount(path, &PathStats::finished, count, timeoutMs);
}

bool CPageServer::WaitForRequests(const std::string& path, int count, int timeoutMs) const
{
    return WaitForCount(path, &PathStats::requests, count, timeoutMs);
}

bool CPageServer::WaitForCount(const std::string& path, int PathStats::*counter, int count,
                               int timeoutMs) const
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        auto it = m_stats.find(path);
        return it != m_stats.end() && it->second.*counter >= count;
    });
}

void CPageServer::AcceptLoop()
{
    while (WaitFor(m_listenFd, POLLIN)) {
        const int fd = accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        ReapFinished();
        auto connection = std::make_unique<Connection>();
        Connection* self = connection.get();
        {
            std::lock_guard lock(m_mutex);
            m_connections.push_back(std::move(connection));
        }
        self->thread = std::thread([this, fd, self] {
            ServeConnection(fd);
            close(fd);
            std::lock_guard lock(m_mutex);
            self->done = true;
        });
    }
}

void CPageServer::ReapFinished()
{
    std::list<std::unique_ptr<Connection>> finished;
    {
        std::lock_guard lock(m_mutex);
        for (auto it = m_connections.begin(); it != m_connections.end();) {
            auto next = std::next(it);
            if ((*it)->done)
                finished.splice(finished.end(), m_connections, it);
            it = next;
        }
    }
    for (auto& connection : finished)
        connection->thread.join();
}

bool CPageServer::WaitFor(int fd, short events) const
{
    for (;;) {
        pollfd fds[2] = {{fd, events, 0}, {m_wakePipe[0], POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        return fds[1].revents == 0;
    }
}

void CPageServer::WaitUntilClientCloses(int fd) const
{
    char sink[4096];
    while (WaitFor(fd, POLLIN)) {
        const ssize_t n = recv(fd, sink, sizeof sink, 0);
        if (n == 0 || (n < 0 && errno != EINTR))
            return;
    }
}

bool CPageServer::WaitForRelease(int fd) const
{
    char sink[4096];
    for (;;) {
        pollfd fds[3] = {{fd, POLLIN, 0}, {m_wakePipe[0], POLLIN, 0}, {m_releasePipe[0], POLLIN, 0}};
        if (poll(fds, 3, -1) < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (fds[1].revents != 0)
            return false;
        if (fds[2].revents != 0)
            return true;
        const ssize_t n = recv(fd, sink, sizeof sink, 0);
        if (n == 0 || (n < 0 && errno != EINTR))
            return false;
    }
}

bool CPageServer::Pause(std::chrono::milliseconds pause) const
{
    pollfd wake{m_wakePipe[0], POLLIN, 0};
    const int ready = poll(&wake, 1, static_cast<int>(pause.count()));
    return ready == 0 || (ready < 0 && errno == EINTR);  // a signal only shortens the pause
}

bool CPageServer::WriteBody(int fd, const Response& response, std::size_t size,
                            std::size_t& written) const
{
    if (response.trickleBytes == 0)
        return WriteAll(fd, response.body.data(), size, written);
    while (written < size) {
        if (!Pause(response.tricklePause))
            return false;
        const std::size_t end = std::min(size, written + response.trickleBytes);
        if (!WriteAll(fd, response.body.data(), end, written))
            return false;
    }
    return true;
}

bool CPageServer::WriteAll(int fd, const char* data, std::size_t size, std::size_t& written) const
{
    while (written < size) {
        if (!WaitFor(fd, POLLOUT))
            return false;
        const ssize_t n = send(fd, data + written, size - written, MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    return true;
}

void CPageServer::Record(const std::string& path, const PathStats& delta)
{
    {
        std::lock_guard lock(m_mutex);
        PathStats& stats = m_stats[path];
        stats.requests += delta.requests;
        stats.finished += delta.finished;
        stats.completed += delta.completed;
        stats.abortedByClient += delta.abortedByClient;
        stats.bytesSent += delta.bytesSent;
        if (!delta.lastRequest.empty())
            stats.lastRequest = delta.lastRequest;
    }
    m_changed.notify_all();
}

void CPageServer::ServeConnection(int fd)
{
    // Read the request head.
    std::string head;
    std::size_t end = std::string::npos;
    while (end == std::string::npos) {
        if (head.size() > kMaxRequestHead || !WaitFor(fd, POLLIN))
            return;
        char chunk[4096];
        const ssize_t n = recv(fd, chunk, sizeof chunk, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        head.append(chunk, static_cast<std::size_t>(n));
        end = head.find("\r\n\r\n");
    }
    head.resize(end + 4);
    const std::size_t targetStart = head.find(' ');
    const std::size_t targetEnd =
        targetStart == std::string::npos ? std::string::npos : head.find(' ', targetStart + 1);
    if (targetEnd == std::string::npos)
        return;
    const std::string path = head.substr(targetStart + 1, targetEnd - targetStart - 1);

    Response response;
    {
        std::lock_guard lock(m_mutex);
        auto it = m_routes.find(path);
        response = it != m_routes.end() ? it->second : Page("Not Found\n", 404, "text/plain");
    }
    PathStats received;
    received.requests = 1;
    received.lastRequest = head;
    Record(path, received);

    PathStats outcome;
    outcome.finished = 1;
    if (response.hang) {
        WaitUntilClientCloses(fd);  // answering nothing
        Record(path, outcome);
        return;
    }

    if (response.held && !WaitForRelease(fd)) {
        outcome.abortedByClient = 1;
        Record(path, outcome);
        return;
    }

    std::string header = "HTTP/1.1 " + std::to_string(response.status) + " "
                         + ReasonPhrase(response.status) + "\r\n";
    for (const auto& [name, value] : response.headers)
        header += name + ": " + value + "\r\n";
    if (response.sendContentLength && !HasNoBody(response.status))
        header += "Content-Length: " + std::to_string(response.body.size()) + "\r\n";
    header += "Connection: close\r\n\r\n";

    const std::string& body = response.body;
    const std::size_t bodyToSend = std::min(response.cutAfter, body.size());
    std::size_t headerWritten = 0;
    std::size_t bodyWritten = 0;
    const bool ok = WriteAll(fd, header.data(), header.size(), headerWritten)
                    && WriteBody(fd, response, bodyToSend, bodyWritten);
    outcome.bytesSent = bodyWritten;
    if (!ok) {
        outcome.abortedByClient = 1;
    } else if (bodyToSend == body.size()) {
        outcome.completed = 1;
        // Half-close and wait for the client to close its side, so the response is never lost
        // to a reset and "finished" means the client is done with it.
        shutdown(fd, SHUT_WR);
        WaitUntilClientCloses(fd);
    }
    Record(path, outcome);
}

} // namespace tickerlux::pageserver
