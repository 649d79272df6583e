#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace tickerlux::pageserver {

// A small HTTP/1.1 server on 127.0.0.1 for tests, the demo and the benchmarks.
//
// It answers each path with one scripted response. Every connection is served on a thread of its
// own and closed after one response ("Connection: close"), so a client that follows redirects
// opens a new connection for each hop. A path with no script gets a 404 with a short body.
//
//     CPageServer server;                       // listens on an ephemeral port
//     server.Serve("/news", CPageServer::Page("<h>Alpha</h>"));
//     server.Redirect("/old", server.Url("/news"));
//     ... fetch server.HostPort() + "/news" ...
//     server.WaitForConnections("/news", 1);    // the server has finished with the request
//     EXPECT_EQ(server.Stats("/news").requests, 1);
//
// The destructor stops the listener, wakes every connection (also one that is held unanswered)
// and joins all threads. Nothing in here throws after construction.
class CPageServer {
public:
    // What the server does with a request for one path.
    struct Response {
        int status = 200;
        // Extra header lines, sent in this order after the status line. Content-Length and
        // "Connection: close" are added by the server (see below).
        std::vector<std::pair<std::string, std::string>> headers;
        std::string body;
        // Sends a Content-Length header for the whole body (not for 1xx, 204 and 304 answers).
        // Without it the body is delimited by closing the connection.
        bool sendContentLength = true;
        // When set, only the first `cutAfter` bytes of the body are sent, then the connection is
        // closed: a transfer broken off mid-body (shorter than its Content-Length).
        std::size_t cutAfter = kWholeBody;
        // Accepts the connection, reads the request and never answers; the connection stays open
        // until the client gives up or the server stops.
        bool hang = false;
        // Reads the request and holds the answer until ReleaseHeld(), the client gives up or the
        // server stops: a slow server whose pace the test sets.
        bool held = false;
        // When set, the body goes out `trickleBytes` at a time with a pause of `tricklePause`
        // before each piece: a slow server.
        std::size_t trickleBytes = 0;
        std::chrono::milliseconds tricklePause{0};
    };
    static constexpr std::size_t kWholeBody = static_cast<std::size_t>(-1);

    // What happened on one path so far.
    struct PathStats {
        int requests = 0;            // requests read for this path
        int finished = 0;            // connections for this path that the server has closed
        int completed = 0;           // responses whose every byte was written
        int abortedByClient = 0;     // responses cut short because the client went away
        std::size_t bytesSent = 0;   // body bytes written, over all requests
        std::string lastRequest;     // request line and headers of the last request, as received
    };

    // Convenience builders.
    static Response Page(std::string body, int status = 200,
                         const std::string& contentType = "text/html; charset=windows-1252");
    static Response RedirectTo(const std::string& location, int status = 302);
    static Response CutOff(std::string body, std::size_t cutAfter);
    static Response Hang();
    static Response Held(std::string body);
    static Response Trickle(std::string body, std::size_t bytes, std::chrono::milliseconds pause);
    // `page` compressed with zlib in the given Content-Encoding, sent whatever the client asked.
    enum class Encoding { Gzip, Deflate };
    static Response Compressed(const std::string& page, Encoding encoding);

    // Listens on 127.0.0.1:`port` (0 = an ephemeral port). Throws std::runtime_error when the
    // socket cannot be set up.
    explicit CPageServer(std::uint16_t port = 0);
    ~CPageServer();
    CPageServer(const CPageServer&) = delete;
    CPageServer& operator=(const CPageServer&) = delete;

    std::uint16_t Port() const { return m_port; }
    // "127.0.0.1:PORT", as a WebServer field would name it.
    std::string HostPort() const;
    // "http://127.0.0.1:PORT" + path.
    std::string Url(const std::string& path) const;

    // Scripts the answer for `path` (the request target exactly as the client sends it,
    // query included). May be called at any time; replaces an earlier script.
    void Serve(const std::string& path, Response response);
    void Redirect(const std::string& path, const std::string& location, int status = 302);

    // Lets every held answer go, those of later requests too.
    void ReleaseHeld();

    // A copy of the counters for `path` (all zero for a path never asked for).
    PathStats Stats(const std::string& path) const;
    int RequestCount(const std::string& path) const { return Stats(path).requests; }

    // Blocks until the server has closed at least `count` connections for `path`, or
    // `timeoutMs` has passed (a safety net only). Returns whether the count was reached.
    bool WaitForConnections(const std::string& path, int count, int timeoutMs = 30000) const;
    // Blocks until the server has read at least `count` requests for `path`, or `timeoutMs` has
    // passed (a safety net only). Returns whether the count was reached.
    bool WaitForRequests(const std::string& path, int count, int timeoutMs = 30000) const;

private:
    struct Connection;

    bool WaitForCount(const std::string& path, int PathStats::*counter, int count,
                      int timeoutMs) const;
    void AcceptLoop();
    void ServeConnection(int fd);
    void ReapFinished();
    void ClosePipes();
    // Waits until `fd` is ready for `events` (POLLIN, POLLOUT); false once the server stops.
    bool WaitFor(int fd, short events) const;
    // Waits for `pause`; false once the server stops.
    bool Pause(std::chrono::milliseconds pause) const;
    // Writes the body in pieces as the response says.
    bool WriteBody(int fd, const Response& response, std::size_t size, std::size_t& written) const;
    // Reads and drops whatever the client sends until it closes the connection or we stop.
    void WaitUntilClientCloses(int fd) const;
    // Waits for ReleaseHeld(); false when the client went away or we stop.
    bool WaitForRelease(int fd) const;
    bool WriteAll(int fd, const char* data, std::size_t size, std::size_t& written) const;
    void Record(const std::string& path, const PathStats& delta);

    int m_listenFd = -1;
    int m_wakePipe[2] = {-1, -1};  // written to once, on stop, to wake every poll()
    int m_releasePipe[2] = {-1, -1};  // written to by ReleaseHeld(), never read
    std::uint16_t m_port = 0;
    std::thread m_acceptThread;

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::map<std::string, Response> m_routes;
    std::map<std::string, PathStats> m_stats;
    std::list<std::unique_ptr<Connection>> m_connections;
};

} // namespace tickerlux::pageserver
