// tickerlux-pageserve: serves one file over HTTP on 127.0.0.1 until SIGINT or SIGTERM, for the
// demo and the benchmarks.
#include "tools/pageserver/PageServer.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <pthread.h>
#include <sstream>
#include <string>

namespace tickerlux::pageserver {

namespace {

void Usage(FILE* out)
{
    std::fprintf(out,
                 "Usage: tickerlux-pageserve [--port N] [--path /PATH] [--type MIME] FILE\n"
                 "Serves the bytes of FILE at http://127.0.0.1:N/PATH until SIGINT or SIGTERM.\n"
                 "Prints 'port N' and then the page's URL on standard output once it listens.\n"
                 "  --port N      listen on port N (default: a free port)\n"
                 "  --path /PATH  the request path of the page (default: /)\n"
                 "  --type MIME   its Content-Type (default: text/html; charset=windows-1252)\n"
                 "Other paths answer 404.\n");
}

} // namespace

} // namespace tickerlux::pageserver

int main(int argc, char** argv)
{
    using namespace tickerlux::pageserver;
    long port = 0;
    std::string path = "/";
    std::string type = "text/html; charset=windows-1252";
    std::string file;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--help" || arg == "-h") {
            Usage(stdout);
            return 0;
        }
        if (arg == "--port" && hasValue) {
            char* end = nullptr;
            port = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || port < 0 || port > 65535) {
                std::fprintf(stderr, "tickerlux-pageserve: bad port '%s'\n", argv[i]);
                return 2;
            }
        } else if (arg == "--path" && hasValue) {
            path = argv[++i];
        } else if (arg == "--type" && hasValue) {
            type = argv[++i];
        } else if (file.empty() && !arg.empty() && arg[0] != '-') {
            file = arg;
        } else {
            Usage(stderr);
            return 2;
        }
    }
    if (file.empty() || path.empty() || path[0] != '/') {
        Usage(stderr);
        return 2;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "tickerlux-pageserve: cannot read %s\n", file.c_str());
        return 2;
    }
    std::ostringstream body;
    body << in.rdbuf();

    // Block the stop signals before the server starts its threads, so only sigwait sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    try {
        CPageServer server(static_cast<std::uint16_t>(port));
        server.Serve(path, CPageServer::Page(std::move(body).str(), 200, type));
        std::printf("port %u\n%s\n", static_cast<unsigned>(server.Port()), server.Url(path).c_str());
        std::fflush(stdout);
        int signal = 0;
        sigwait(&stopSignals, &signal);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tickerlux-pageserve: %s\n", error.what());
        return 1;
    }
    return 0;
}
