#pragma once

#include "base/Failure.h"

#include <optional>
#include <string>
#include <string_view>

// Web addresses as a user pastes them, and as the two stored fields hold them.
namespace tickerlux::headlines {

// The two fields that name a page, both ASCII (so any code page holds them): `webServer` is
// "host", "host:port" or "[v6]:port", with "https://" in front for a secure server; `webPath` is
// the path and query, "/" at least.
struct StoredAddress {
    std::string webServer;
    std::string webPath;

    bool operator==(const StoredAddress&) const = default;
};

struct ParsedAddress {
    StoredAddress address;
    base::Failure failure; // BadAddress, with the reason a user can act on
};

// Reads a full UTF-8 address: "http://" or "https://", host, optional port, path and query. A
// host in other letters than ASCII is stored in its IDNA form, other bytes of the path and query
// percent-encoded as UTF-8 (escapes already there are kept), a fragment dropped, the scheme's
// default port left out. User info and other schemes are refused.
ParsedAddress ParseWebAddress(std::string_view address);

// The full address of a page named by the stored fields ("http://" unless the server says
// "https://").
std::string FullAddress(const StoredAddress& stored);

// `reference` (an href as written in a page) resolved against the page's full address; nullopt
// when the two make no http or https address.
std::optional<std::string> ResolveReference(const std::string& base, std::string_view reference);

} // namespace tickerlux::headlines
