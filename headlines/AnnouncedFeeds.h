#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The feeds a web page names in its head, as browsers find them.
namespace tickerlux::headlines {

struct AnnouncedFeed {
    std::string address; // the full address, resolved against the page's
    std::string title;   // the link's title attribute, UTF-8; may be empty
    std::string type;    // "application/rss+xml", ...
};

// Only this much of a page is read, and nothing past the end of its head.
inline constexpr std::size_t kAnnouncementWindow = 256 * 1024;

// Every <link rel="alternate" type="application/rss+xml|atom+xml|feed+json|json" href="...">
// of `page` (UTF-8), in page order, each address once. `pageAddress` is the page's full
// address; an href that makes no http or https address is left out.
std::vector<AnnouncedFeed> FindAnnouncedFeeds(std::string_view page,
                                              const std::string& pageAddress);

} // namespace tickerlux::headlines
