#pragma once

#include "base/Failure.h"
#include "headlines/TimeLimits.h"

#include <cstddef>
#include <functional>
#include <string>

namespace tickerlux::headlines {

// Downloads one page: a web server ("host", "host:port", "[v6]" or "[v6]:port"; port 80 when
// none is given; "https://" in front, in any case, for a secure server, port 443 by default) and
// a path on it.

struct FetchLimits {
    // The page keeps this many bytes, counted after decoding a compressed page; a byte beyond
    // ends the transfer.
    std::size_t maxLength = 0;
    TimeLimits time;
    // Asked now and then during the download; true abandons it at once (FailureKind::Abandoned).
    std::function<bool()> stopRequested;
    // Hears the page's length so far as pieces arrive.
    std::function<void(std::size_t received)> progress;
    // The certificate authorities to trust instead of the system's, in a PEM file (for tests).
    std::string caFile;
};

struct FetchedPage {
    std::string page;         // the body, whatever the status code, cut to maxLength
    bool overran = false;     // the page had more than maxLength bytes
    std::string contentType;  // the answer's Content-Type header (its charset, if any)
    long statusCode = 0;      // the answer's HTTP status (200, 404, ...)
    base::Failure failure;          // the page could not be downloaded (page then empty)
};

// A web server with another scheme, a slash, blanks, user info or a bad port fails as BadAddress
// without any connection being made.
FetchedPage Fetch(const std::string& webServer, const std::string& path, const FetchLimits& limits);

} // namespace tickerlux::headlines
