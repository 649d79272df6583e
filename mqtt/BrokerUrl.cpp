#include "mqtt/BrokerUrl.h"

#include <curl/curl.h>

#include <charconv>
#include <memory>

namespace tickerlux::mqtt {
namespace {

struct UrlFree {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};

// One part of the address, percent-decoded; nullopt when the address has none.
std::optional<std::string> Part(CURLU* url, CURLUPart part)
{
    char* text = nullptr;
    if (curl_url_get(url, part, &text, CURLU_URLDECODE) != CURLUE_OK || text == nullptr)
        return std::nullopt;
    std::string value(text);
    curl_free(text);
    return value;
}

} // namespace

std::string BrokerUrl::Display() const
{
    const bool v6 = host.find(':') != std::string::npos;
    return std::string(tls ? "mqtts://" : "mqtt://") + (v6 ? "[" + host + "]" : host) + ":" +
           std::to_string(port);
}

std::optional<std::string> ParseBrokerUrl(std::string_view text, BrokerUrl& url)
{
    const std::string given(text);
    const std::string problem = "'" + given + "' is no broker address; give "
                                "mqtt://[USER[:PASSWORD]@]HOST[:PORT] or mqtts://...";
    if (given.rfind("mqtt://", 0) != 0 && given.rfind("mqtts://", 0) != 0)
        return problem;
    const std::unique_ptr<CURLU, UrlFree> parsed(curl_url());
    if (!parsed || curl_url_set(parsed.get(), CURLUPART_URL, given.c_str(),
                                CURLU_NON_SUPPORT_SCHEME) != CURLUE_OK)
        return problem;
    const std::optional<std::string> path = Part(parsed.get(), CURLUPART_PATH);
    if ((path && *path != "/" && !path->empty()) || Part(parsed.get(), CURLUPART_QUERY) ||
        Part(parsed.get(), CURLUPART_FRAGMENT))
        return problem + " (no path, query or fragment)";
    std::optional<std::string> host = Part(parsed.get(), CURLUPART_HOST);
    if (!host || host->empty())
        return problem;
    if (host->size() > 2 && host->front() == '[' && host->back() == ']')
        host = host->substr(1, host->size() - 2);

    BrokerUrl result;
    result.tls = given.rfind("mqtts://", 0) == 0;
    result.port = result.tls ? 8883 : 1883;
    result.host = *host;
    if (const std::optional<std::string> port = Part(parsed.get(), CURLUPART_PORT)) {
        const auto [end, error] = std::from_chars(port->data(), port->data() + port->size(),
                                                  result.port);
        if (error != std::errc() || end != port->data() + port->size() || result.port < 1 ||
            result.port > 65535)
            return problem + " (the port is 1 to 65535)";
    }
    result.user = Part(parsed.get(), CURLUPART_USER).value_or("");
    result.password = Part(parsed.get(), CURLUPART_PASSWORD);
    if (result.password && result.user.empty())
        return problem + " (a password needs a user)";
    url = std::move(result);
    return std::nullopt;
}

} // namespace tickerlux::mqtt
