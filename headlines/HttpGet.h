#pragma once

#include "base/Failure.h"
#include "headlines/TimeLimits.h"

#include <functional>
#include <string>
#include <string_view>

// The program's one HTTP client: a blocking GET over the platform's HTTP library. The library's
// headers stay in HttpGet.cpp.
namespace tickerlux::headlines::http {

struct GetRequest {
    // Over TLS, with the server's certificate checked against the system's certificate store
    // (or `caFile`); a certificate that fails the check fails as CertificateRejected.
    bool secure = false;
    std::string host;   // a name or address, without port; an IPv6 address in brackets
    int port = 80;
    // The request target, sent as given, except that bytes which cannot stand in one (controls,
    // space, bytes above 0x7E) are percent-encoded and a path that does not start with "/" gets
    // one in front.
    std::string path;
    headlines::TimeLimits limits;
    // Asked now and then during the transfer; true abandons it at once (FailureKind::Abandoned).
    std::function<bool()> stopRequested;
    // The certificate authorities to trust instead of the system's, in a PEM file (for tests).
    std::string caFile;
};

enum class GetStatus {
    Complete,  // the whole body went to the sink (whatever the status code)
    Stopped,   // the sink asked to stop; the rest of the body was not downloaded
    Failed,    // no answer, or the transfer broke off (body shorter than announced, stall, ...)
};

struct GetResult {
    GetStatus status = GetStatus::Failed;
    base::Failure failure;          // why, when Failed
    std::string contentType;  // the last answer's Content-Type header, empty when it had none
    long statusCode = 0;      // the last answer's HTTP status
};

// Receives the body in pieces as they arrive; returns false to stop the transfer.
using BodySink = std::function<bool(std::string_view piece)>;

// Sends the product name as its user agent, takes the proxy from the environment (http_proxy, no_proxy),
// follows at most 10 redirects to http or https addresses, caches nothing, and keeps to the
// request's time limits. It asks for the page compressed in any way the library can decode, and
// decodes a compressed page also when it was not asked for: the sink gets the decoded bytes.
GetResult Get(const GetRequest& request, const BodySink& sink);

} // namespace tickerlux::headlines::http
