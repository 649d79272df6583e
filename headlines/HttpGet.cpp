#include "headlines/HttpGet.h"

#include "base/AsciiCase.h"
#include "settings/ProductName.h"

#include <curl/curl.h>
#include <zlib.h>

#include <chrono>
#include <memory>
#include <string>

namespace tickerlux::headlines::http {
namespace {

constexpr long kMaxRedirects = 10;

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};

using Clock = std::chrono::steady_clock;

// The body as sent with gzip or deflate, inflated here rather than by the library, so that a
// compressed body cut short (the library does not check that its stream ended) is a failure.
class CInflater {
public:
    CInflater() = default;
    ~CInflater()
    {
        if (m_started)
            inflateEnd(&m_stream);
    }
    CInflater(const CInflater&) = delete;
    CInflater& operator=(const CInflater&) = delete;

    // False when the bytes are no valid stream or `sink` wants no more.
    bool Put(std::string_view bytes, const BodySink& sink)
    {
        if (!m_started) {
            if (inflateInit2(&m_stream, 15 + 32) != Z_OK)  // a gzip or a zlib header
                return false;
            m_started = true;
        }
        m_stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
        m_stream.avail_in = static_cast<uInt>(bytes.size());
        while (m_stream.avail_in > 0) {
            if (m_ended) {  // another gzip member follows
                if (inflateReset(&m_stream) != Z_OK)
                    return false;
                m_ended = false;
            }
            char out[16384];
            m_stream.next_out = reinterpret_cast<Bytef*>(out);
            m_stream.avail_out = sizeof out;
            const int result = inflate(&m_stream, Z_NO_FLUSH);
            if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR)
                return false;
            m_ended = result == Z_STREAM_END;
            const std::size_t made = sizeof out - m_stream.avail_out;
            if (made > 0 && !sink(std::string_view(out, made)))
                return false;
            if (result == Z_BUF_ERROR && made == 0)
                break;
        }
        return true;
    }
    bool Ended() const { return m_ended; }

private:
    z_stream m_stream{};
    bool m_started = false;
    bool m_ended = false;
};

enum class Coding { Identity, Compressed, Unknown };

struct Transfer {
    const BodySink* sink = nullptr;
    const std::function<bool()>* stopRequested = nullptr;
    Clock::time_point deadline;
    bool stopped = false;
    bool abandoned = false;
    bool pastDeadline = false;
    Coding coding = Coding::Identity;  // of the response being read (a redirect has its own)
    std::string codingName;
    std::unique_ptr<CInflater> inflater;
    bool badStream = false;
};

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && std::string_view(" \t\r\n").find(text.back()) != std::string_view::npos)
        text.remove_suffix(1);
    return text;
}

size_t OnHeader(char* data, size_t size, size_t count, void* userData)
{
    auto* transfer = static_cast<Transfer*>(userData);
    const std::string_view line(data, size * count);
    if (line.starts_with("HTTP/")) {  // a new response
        transfer->coding = Coding::Identity;
        transfer->inflater.reset();
        return size * count;
    }
    const std::size_t colon = line.find(':');
    const std::string name = base::AsciiLowered(line.substr(0, colon == std::string_view::npos ? 0 : colon));
    if (name != "content-encoding")
        return size * count;
    const std::string value = base::AsciiLowered(Trimmed(line.substr(colon + 1)));
    transfer->codingName = value;
    transfer->coding = value.empty() || value == "identity"                           ? Coding::Identity
                       : value == "gzip" || value == "x-gzip" || value == "deflate" ? Coding::Compressed
                                                                                    : Coding::Unknown;
    return size * count;
}

size_t OnBody(char* data, size_t size, size_t count, void* userData)
{
    auto* transfer = static_cast<Transfer*>(userData);
    const size_t bytes = size * count;
    if (transfer->coding == Coding::Unknown) {
        transfer->badStream = true;
        return 0;
    }
    if (transfer->coding == Coding::Compressed) {
        if (!transfer->inflater)
            transfer->inflater = std::make_unique<CInflater>();
        const BodySink sink = [transfer](std::string_view piece) {
            transfer->stopped = !(*transfer->sink)(piece);
            return !transfer->stopped;
        };
        if (transfer->inflater->Put(std::string_view(data, bytes), sink))
            return bytes;
        // A sink that wants no more has all it may hold; anything else is a broken stream.
        transfer->badStream = !transfer->stopped;
        return 0;
    }
    if (!(*transfer->sink)(std::string_view(data, bytes))) {
        transfer->stopped = true;
        return 0;  // anything short of `bytes` makes the library abort the transfer
    }
    return bytes;
}

// Called by the library at least once a second, and at once when a signal interrupts its wait.
// Non-zero aborts the transfer.
int OnProgress(void* userData, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    auto* transfer = static_cast<Transfer*>(userData);
    transfer->abandoned = *transfer->stopRequested && (*transfer->stopRequested)();
    transfer->pastDeadline = Clock::now() >= transfer->deadline;
    return transfer->abandoned || transfer->pastDeadline ? 1 : 0;
}

void EnsureGlobalInit()
{
    static const CURLcode init = curl_global_init(CURL_GLOBAL_DEFAULT);
    (void)init;  // a failure shows again in curl_easy_init
}

// The address to ask for. Percent-encoding the bytes that cannot stand in a request target keeps
// a path from splitting the request (CR LF) or breaking its first line (space), and a "#" from
// starting a fragment, which would drop the rest of the path; a leading "/" keeps it from running
// into the port. Everything else, escapes and dot segments included, is sent as given.
std::string MakeUrl(const GetRequest& request)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string url = (request.secure ? "https://" : "http://") + request.host + ":" + std::to_string(request.port);
    if (request.path.empty() || request.path[0] != '/')
        url += '/';
    for (unsigned char c : request.path) {
        if (c > ' ' && c < 0x7F && c != '#') {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 0x0F];
        }
    }
    return url;
}

base::FailureKind KindFor(CURLcode code)
{
    switch (code) {
    case CURLE_URL_MALFORMAT:
        return base::FailureKind::BadAddress;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return base::FailureKind::HostNotFound;
    case CURLE_COULDNT_CONNECT:
        return base::FailureKind::Refused;
    case CURLE_OPERATION_TIMEDOUT:
        return base::FailureKind::TimedOut;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_INVALIDCERTSTATUS:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
        return base::FailureKind::CertificateRejected;
    default:
        return base::FailureKind::Io;
    }
}

// The library reports its time limits as one code: its own deadline, which only backs ours up,
// the speed floor, or the connect time-out.
base::FailureKind TimeLimitKind(CURL* easy, const Transfer& transfer)
{
    if (Clock::now() >= transfer.deadline)
        return base::FailureKind::TooLong;
    curl_off_t connectMicroseconds = 0;
    curl_easy_getinfo(easy, CURLINFO_CONNECT_TIME_T, &connectMicroseconds);
    return connectMicroseconds > 0 ? base::FailureKind::TooSlow : base::FailureKind::TimedOut;
}

// A second past our own deadline the library gives up by itself, should no call come.
constexpr std::chrono::milliseconds kDeadlineBackup{1000};

GetResult Failed(base::FailureKind kind, std::string text)
{
    return {GetStatus::Failed, base::Failure{kind, "", std::move(text)}, {}};
}

} // namespace

GetResult Get(const GetRequest& request, const BodySink& sink)
{
    EnsureGlobalInit();
    std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    if (!easy)
        return Failed(base::FailureKind::Io, "the HTTP library could not start a transfer");

    const std::string url = MakeUrl(request);
    const headlines::TimeLimits& limits = request.limits;
    Transfer transfer;
    transfer.sink = &sink;
    transfer.stopRequested = &request.stopRequested;
    transfer.deadline = Clock::now() + limits.deadline;
    char errorText[CURL_ERROR_SIZE] = "";
    CURL* e = easy.get();
    curl_easy_setopt(e, CURLOPT_URL, url.c_str());
    curl_easy_setopt(e, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(e, CURLOPT_USERAGENT, settings::kProductName);
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(e, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!request.caFile.empty())
        curl_easy_setopt(e, CURLOPT_CAINFO, request.caFile.c_str());
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(e, CURLOPT_MAXREDIRS, kMaxRedirects);
    // Only encodings whose end is checked here; the library passes them on undecoded.
    curl_easy_setopt(e, CURLOPT_ACCEPT_ENCODING, "gzip, deflate");
    curl_easy_setopt(e, CURLOPT_HTTP_CONTENT_DECODING, 0L);
    curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, OnHeader);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT, static_cast<long>(limits.connectTimeout.count()));
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, limits.minBytesPerSecond);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME, static_cast<long>(limits.stallLimit.count()));
    curl_easy_setopt(e, CURLOPT_TIMEOUT_MS,
                     static_cast<long>((limits.deadline + kDeadlineBackup).count()));
    curl_easy_setopt(e, CURLOPT_XFERINFOFUNCTION, OnProgress);
    curl_easy_setopt(e, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(e, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, OnBody);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &transfer);

    const CURLcode code = curl_easy_perform(e);
    if (transfer.badStream && transfer.coding == Coding::Unknown)
        return Failed(base::FailureKind::Io, "the page came in an encoding that was not asked for (" +
                                           transfer.codingName + ")");
    if (transfer.badStream || (code == CURLE_OK && transfer.inflater && !transfer.inflater->Ended()))
        return Failed(base::FailureKind::Io, "the compressed page (" + transfer.codingName +
                                           ") is damaged or cut short");
    if (!transfer.stopped && code != CURLE_OK) {
        if (transfer.abandoned)
            return Failed(base::FailureKind::Abandoned, "the download was stopped");
        if (transfer.pastDeadline)
            return Failed(base::FailureKind::TooLong, "the download took longer than " +
                                                    std::to_string(limits.deadline.count()) +
                                                    " ms");
        long status = 0;
        curl_easy_getinfo(e, CURLINFO_RESPONSE_CODE, &status);
        if ((code == CURLE_URL_MALFORMAT || code == CURLE_UNSUPPORTED_PROTOCOL) && status >= 300 &&
            status < 400) {
            char* target = nullptr;
            curl_easy_getinfo(e, CURLINFO_REDIRECT_URL, &target);
            return Failed(base::FailureKind::BadRedirect,
                          (target ? "to " + std::string(target) + ": " : std::string()) +
                              (errorText[0] ? errorText : curl_easy_strerror(code)));
        }
        const base::FailureKind kind =
            code == CURLE_OPERATION_TIMEDOUT ? TimeLimitKind(e, transfer) : KindFor(code);
        return Failed(kind, errorText[0] ? errorText : curl_easy_strerror(code));
    }
    char* contentType = nullptr;
    curl_easy_getinfo(e, CURLINFO_CONTENT_TYPE, &contentType);
    long statusCode = 0;
    curl_easy_getinfo(e, CURLINFO_RESPONSE_CODE, &statusCode);
    return {transfer.stopped ? GetStatus::Stopped : GetStatus::Complete, {},
            contentType ? contentType : "", statusCode};
}

} // namespace tickerlux::headlines::http
