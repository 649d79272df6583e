#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The headlines of a news feed: the titles of its items, in the feed's order.
namespace tickerlux::headlines {

// A page read as a feed is at most this long; the rest is not read.
inline constexpr std::size_t kMaxFeedLength = 4 * 1024 * 1024;

enum class FeedFormat {
    None,     // not a feed
    Rss,      // RSS 0.9x and 2.0: <rss><channel><item><title>
    Rdf,      // RSS 0.90 and 1.0: <rdf:RDF><item><title>, items beside the channel
    Atom,     // <feed><entry><title type="text|html|xhtml">
    JsonFeed, // JSON Feed 1.x: items[].title
};

struct FeedItems {
    FeedFormat format = FeedFormat::None;
    // Each title as an HTML fragment in UTF-8, to be cleaned as a headline cut from a page is:
    // a plain-text title has its '&', '<' and '>' escaped, an HTML title is given as it is. Only
    // item titles: never the channel's own title or its image's.
    std::vector<std::string> titles;
};

// Reads the page as a feed. XML is read in the encoding it declares (or its byte order mark,
// else UTF-8) with no network, no external DTD and no entity expansion: a reference to an
// entity that the document declares itself is left out of the title. An XML document is read
// up to where it nests deeper than kMaxFeedDepth; JSON nested deeper is no feed.
FeedItems ReadFeedItems(std::string_view page);

// Nesting deeper than this makes a page no feed.
inline constexpr int kMaxFeedDepth = 256;

} // namespace tickerlux::headlines
