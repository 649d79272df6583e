#include "headlines/WebAddress.h"

#include "base/AsciiCase.h"
#include "base/Utf8.h"

#include <curl/curl.h>
#include <unicode/uidna.h>

#include <algorithm>
#include <cctype>
#include <memory>

namespace tickerlux::headlines {
namespace {

constexpr std::string_view kHttps = "https://";
constexpr std::string_view kHttp = "http://";

ParsedAddress Refused(std::string why)
{
    return {{}, base::Failure{base::FailureKind::BadAddress, "", std::move(why)}};
}

bool IsHex(char c)
{
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

// Bytes that cannot stand in a request target are percent-encoded; an escape stays as it is.
std::string EncodePathAndQuery(std::string_view text)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool escape =
            c == '%' && i + 2 < text.size() && IsHex(text[i + 1]) && IsHex(text[i + 2]);
        if (escape || (c > ' ' && c < 0x7F && c != '%' && c != '"' && c != '<' && c != '>' &&
                       c != '`' && c != '\\')) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
    return out;
}

// The host's ASCII form (IDNA, lower case), or nullopt when it is no valid name.
std::optional<std::string> AsciiHost(std::string_view host)
{
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UIDNA, decltype(&uidna_close)> idna(
        uidna_openUTS46(UIDNA_NONTRANSITIONAL_TO_ASCII | UIDNA_CHECK_BIDI | UIDNA_CHECK_CONTEXTJ,
                        &status),
        &uidna_close);
    if (U_FAILURE(status))
        return std::nullopt;
    std::string out(256, '\0');
    UIDNAInfo info = UIDNA_INFO_INITIALIZER;
    const int32_t length =
        uidna_nameToASCII_UTF8(idna.get(), host.data(), static_cast<int32_t>(host.size()),
                               out.data(), static_cast<int32_t>(out.size()), &info, &status);
    if (U_FAILURE(status) || info.errors != 0 || length <= 0 ||
        length > static_cast<int32_t>(out.size()))
        return std::nullopt;
    out.resize(static_cast<std::size_t>(length));
    const bool plain = std::all_of(out.begin(), out.end(), [](unsigned char c) {
        return std::isalnum(c) || c == '-' || c == '.' || c == '_';
    });
    if (!plain)
        return std::nullopt;
    return out;
}

bool ValidIpv6(std::string_view inside)
{
    return !inside.empty() && inside.find(':') != std::string_view::npos &&
           std::all_of(inside.begin(), inside.end(),
                       [](char c) { return IsHex(c) || c == ':' || c == '.'; });
}

// "host[:port]" as stored: the host checked and in ASCII, the scheme's default port left out.
std::optional<std::string> StoredServer(std::string_view authority, bool secure, std::string& why)
{
    std::string_view host = authority;
    std::string_view port;
    if (authority.starts_with('[')) {
        const std::size_t close = authority.find(']');
        if (close == std::string_view::npos || !ValidIpv6(authority.substr(1, close - 1))) {
            why = "the IPv6 address in brackets is not valid";
            return std::nullopt;
        }
        host = authority.substr(0, close + 1);
        std::string_view rest = authority.substr(close + 1);
        if (!rest.empty() && !rest.starts_with(':')) {
            why = "the address has text after the IPv6 address";
            return std::nullopt;
        }
        port = rest.empty() ? rest : rest.substr(1);
    } else if (const std::size_t colon = authority.rfind(':'); colon != std::string_view::npos) {
        host = authority.substr(0, colon);
        port = authority.substr(colon + 1);
    }
    if (host.empty()) {
        why = "the address names no host";
        return std::nullopt;
    }
    std::string server(host);
    if (!host.starts_with('[')) {
        const auto ascii = AsciiHost(host);
        if (!ascii) {
            why = "\"" + std::string(host) + "\" is not a valid host name";
            return std::nullopt;
        }
        server = *ascii;
    }
    if (!port.empty()) {
        const bool digits = port.size() <= 5 && std::all_of(port.begin(), port.end(), [](char c) {
                                return c >= '0' && c <= '9';
                            });
        const int number = digits ? std::stoi(std::string(port)) : 0;
        if (number < 1 || number > 65535) {
            why = "\"" + std::string(port) + "\" is not a port number (1 to 65535)";
            return std::nullopt;
        }
        if (number != (secure ? 443 : 80))
            server += ":" + std::to_string(number);
    }
    return std::string(secure ? kHttps : "") + server;
}

struct UrlDeleter {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};

} // namespace

ParsedAddress ParseWebAddress(std::string_view address)
{
    while (!address.empty() && std::isspace(static_cast<unsigned char>(address.front())))
        address.remove_prefix(1);
    while (!address.empty() && std::isspace(static_cast<unsigned char>(address.back())))
        address.remove_suffix(1);
    for (std::size_t at = 0; at < address.size();) {
        if (!base::utf8::NextCodePoint(address, at))
            return Refused("the address is not valid UTF-8 text");
    }
    if (std::any_of(address.begin(), address.end(),
                    [](unsigned char c) { return c < ' ' || c == 0x7F; }))
        return Refused("the address holds control characters");
    const bool secure = base::StartsWithIgnoringAsciiCase(address, kHttps);
    if (!secure && !base::StartsWithIgnoringAsciiCase(address, kHttp))
        return Refused("the address must start with http:// or https://");
    address.remove_prefix(secure ? kHttps.size() : kHttp.size());
    address = address.substr(0, address.find('#'));

    const std::size_t authorityEnd = std::min(address.find_first_of("/?"), address.size());
    const std::string_view authority = address.substr(0, authorityEnd);
    if (authority.find('@') != std::string_view::npos)
        return Refused("a user name or password in the address is not supported");
    if (authority.find_first_of(" \\") != std::string_view::npos)
        return Refused("the host name holds a space or a backslash");
    std::string why;
    auto server = StoredServer(authority, secure, why);
    if (!server)
        return Refused(why);
    std::string path = EncodePathAndQuery(address.substr(authorityEnd));
    if (!path.starts_with('/'))
        path.insert(0, "/");
    return {{std::move(*server), std::move(path)}, {}};
}

std::string FullAddress(const StoredAddress& stored)
{
    const bool secure = base::StartsWithIgnoringAsciiCase(stored.webServer, kHttps);
    std::string url = secure ? std::string(kHttps) + stored.webServer.substr(kHttps.size())
                             : std::string(kHttp) + stored.webServer;
    if (!stored.webPath.starts_with('/'))
        url += '/';
    return url + stored.webPath;
}

std::optional<std::string> ResolveReference(const std::string& base, std::string_view reference)
{
    // As browsers read an href: white space at its ends is no part of it, tabs and line breaks
    // inside are dropped.
    std::string href;
    for (const char c : reference) {
        if (c != '\t' && c != '\n' && c != '\r')
            href += c;
    }
    const auto notSpace = [](unsigned char c) { return !std::isspace(c); };
    href.erase(href.begin(), std::find_if(href.begin(), href.end(), notSpace));
    href.erase(std::find_if(href.rbegin(), href.rend(), notSpace).base(), href.end());

    std::unique_ptr<CURLU, UrlDeleter> url(curl_url());
    if (!url || curl_url_set(url.get(), CURLUPART_URL, base.c_str(), 0) != CURLUE_OK)
        return std::nullopt;
    if (curl_url_set(url.get(), CURLUPART_URL, href.c_str(),
                     CURLU_ALLOW_SPACE | CURLU_NON_SUPPORT_SCHEME) != CURLUE_OK)
        return std::nullopt;
    char* scheme = nullptr;
    char* full = nullptr;
    std::optional<std::string> resolved;
    if (curl_url_get(url.get(), CURLUPART_SCHEME, &scheme, 0) == CURLUE_OK &&
        (std::string_view(scheme) == "http" || std::string_view(scheme) == "https") &&
        curl_url_get(url.get(), CURLUPART_URL, &full, 0) == CURLUE_OK)
        resolved = full;
    curl_free(scheme);
    curl_free(full);
    return resolved;
}

} // namespace tickerlux::headlines
