// Arbitrary bytes read as a feed (XML of any format, or JSON Feed), then as a page whose head
// announces feeds.
#include "headlines/AnnouncedFeeds.h"
#include "headlines/FeedItems.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view page(reinterpret_cast<const char*>(data), size);
    const auto feed = tickerluxReadFeedItems(page);
    if (feed.format == tickerluxFeedFormat::None && !feed.titles.empty())
        std::abort();
    for (const auto& found : tickerluxFindAnnouncedFeeds(page, "http://e.com/a/b")) {
        if (!found.address.starts_with("http://") && !found.address.starts_with("https://"))
            std::abort();
    }
    return 0;
}
