#include "headlines/HttpGet.h"

#include <curl/curl.h>

#include <memory>

namespace http {
namespace {

constexpr long kMaxRedirects = 10;
constexpr long kConnectTimeoutSeconds = 60;
constexpr long kStallSeconds = 30;

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct UrlDeleter {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
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

// The address from its parts, so the request target keeps the form it was given in.
std::unique_ptr<CURLU, UrlDeleter> MakeUrl(const GetRequest& request)
{
    std::unique_ptr<CURLU, UrlDeleter> url(curl_url());
    if (!url)
        return nullptr;
    const std::string port = std::to_string(request.port);
    CURLUcode code = curl_url_set(url.get(), CURLUPART_SCHEME, "http", 0);
    if (code == CURLUE_OK)
        code = curl_url_set(url.get(), CURLUPART_HOST, request.host.c_str(), 0);
    if (code == CURLUE_OK)
        code = curl_url_set(url.get(), CURLUPART_PORT, port.c_str(), 0);
    if (code == CURLUE_OK)
        code = curl_url_set(url.get(), CURLUPART_PATH, request.path.c_str(), 0);
    return code == CURLUE_OK ? std::move(url) : nullptr;
}

} // namespace

GetResult Get(const GetRequest& request, const BodySink& sink)
{
    EnsureGlobalInit();
    std::unique_ptr<CURLU, UrlDeleter> url = MakeUrl(request);
    std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    if (!url || !easy)
        return GetResult::Failed;

    Transfer transfer{&sink};
    CURL* e = easy.get();
    curl_easy_setopt(e, CURLOPT_CURLU, url.get());
    curl_easy_setopt(e, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(e, CURLOPT_USERAGENT, "Newsglow");
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(e, CURLOPT_MAXREDIRS, kMaxRedirects);
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, OnBody);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &transfer);

    const CURLcode code = curl_easy_perform(e);
    if (transfer.stopped)
        return GetResult::Stopped;
    return code == CURLE_OK ? GetResult::Complete : GetResult::Failed;
}

} // namespace http
