#include "headlines/HttpGet.h"

#include <curl/curl.h>

#include <memory>
#include <string>

namespace http {
namespace {

constexpr long kMaxRedirects = 10;

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};

struct Transfer {
    const BodySink* sink;
    bool stopped = false;
};

size_t OnBody(char* data, size_t size, size_t count, void* userData)
{
    auto* transfer = static_cast<Transfer*>(userData);
    const size_t bytes = size * count;
    if (!(*transfer->sink)(std::string_view(data, bytes))) {
        transfer->stopped = true;
        return 0;  // anything short of `bytes` makes the library abort the transfer
    }
    return bytes;
}

void EnsureGlobalInit()
{
    static const CURLcode init = curl_global_init(CURL_GLOBAL_DEFAULT);
    (void)init;  // a failure shows again in curl_easy_init
}

// The address to ask for. Percent-encoding the bytes that cannot stand in a request target keeps
// a path from splitting the request (CR LF) or breaking its first line (space), and a leading "/"
// keeps it from running into the port; everything else, escapes and dot segments included, is
// sent as given.
std::string MakeUrl(const GetRequest& request)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string url = "http://" + request.host + ":" + std::to_string(request.port);
    if (request.path.empty() || request.path[0] != '/')
        url += '/';
    for (unsigned char c : request.path) {
        if (c > ' ' && c < 0x7F) {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 0x0F];
        }
    }
    return url;
}

FailureKind KindFor(CURLcode code)
{
    switch (code) {
    case CURLE_URL_MALFORMAT:
        return FailureKind::BadAddress;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return FailureKind::HostNotFound;
    case CURLE_COULDNT_CONNECT:
        return FailureKind::Refused;
    case CURLE_OPERATION_TIMEDOUT:
        return FailureKind::TimedOut;
    default:
        return FailureKind::Io;
    }
}

GetResult Failed(FailureKind kind, std::string text)
{
    return {GetStatus::Failed, Failure{kind, "", std::move(text)}};
}

} // namespace

GetResult Get(const GetRequest& request, const BodySink& sink)
{
    EnsureGlobalInit();
    std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    if (!easy)
        return Failed(FailureKind::Io, "the HTTP library could not start a transfer");

    const std::string url = MakeUrl(request);
    Transfer transfer{&sink};
    char errorText[CURL_ERROR_SIZE] = "";
    CURL* e = easy.get();
    curl_easy_setopt(e, CURLOPT_URL, url.c_str());
    curl_easy_setopt(e, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(e, CURLOPT_USERAGENT, "Newsglow");
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(e, CURLOPT_MAXREDIRS, kMaxRedirects);
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT, static_cast<long>(request.connectTimeout.count()));
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME, static_cast<long>(request.stallLimit.count()));
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, OnBody);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &transfer);

    const CURLcode code = curl_easy_perform(e);
    if (transfer.stopped)
        return {GetStatus::Stopped, {}};
    if (code == CURLE_OK)
        return {GetStatus::Complete, {}};
    return Failed(KindFor(code), errorText[0] ? errorText : curl_easy_strerror(code));
}

} // namespace http
