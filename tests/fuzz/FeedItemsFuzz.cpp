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
    const auto feed = tickerlux::headlines::ReadFeedItems(page);
    if (feed.format == tickerlux::headlines::FeedFormat::None && !feed.titles.empty())
        std::abort();
    for (const auto& found : tickerlux::headlines::FindAnnouncedFeeds(page, "http://e.com/a/b")) {
        if (!found.address.starts_with("http://") && !found.address.starts_with("https://"))
            std::abort();
    }
    return 0;
}
