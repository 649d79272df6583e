#include "headlines/AnnouncedFeeds.h"

#include "base/AsciiCase.h"
#include "headlines/WebAddress.h"

#include <gumbo.h>

#include <algorithm>
#include <array>

namespace tickerlux::headlines {
namespace {

constexpr std::array<std::string_view, 4> kFeedTypes = {
    "application/rss+xml", "application/atom+xml", "application/feed+json", "application/json"};

std::string_view Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t\r\n\f");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n\f") - first + 1);
}

std::string_view Attribute(const GumboElement& element, const char* name)
{
    const GumboAttribute* attribute = gumbo_get_attribute(&element.attributes, name);
    return attribute ? std::string_view(attribute->value) : std::string_view();
}

bool RelSaysAlternate(std::string_view rel)
{
    const std::string words = base::AsciiLowered(rel);
    std::size_t at = 0;
    while ((at = words.find_first_not_of(" \t\r\n\f", at)) != std::string::npos) {
        const std::size_t end = std::min(words.find_first_of(" \t\r\n\f", at), words.size());
        if (words.compare(at, end - at, "alternate") == 0)
            return true;
        at = end;
    }
    return false;
}

// The media type without parameters, in lower case, when it is a feed's.
std::string FeedType(std::string_view type)
{
    const std::string bare = base::AsciiLowered(Trimmed(type.substr(0, type.find(';'))));
    return std::find(kFeedTypes.begin(), kFeedTypes.end(), bare) != kFeedTypes.end() ? bare : "";
}

// The page up to the end of its head, and no further than kAnnouncementWindow: feed links
// belong in the head, and gumbo's tree building takes quadratic time on some nestings of
// formatting elements, which a body can hold many of.
std::string_view HeadOf(std::string_view page)
{
    page = page.substr(0, kAnnouncementWindow);
    const std::string lower = base::AsciiLowered(page);
    const std::size_t end = lower.find("</head");
    return end == std::string::npos ? page : page.substr(0, end);
}

} // namespace

std::vector<AnnouncedFeed> FindAnnouncedFeeds(std::string_view page, const std::string& pageAddress)
{
    const std::string_view head = HeadOf(page);
    GumboOptions options = kGumboDefaultOptions;
    options.max_errors = 0;
    GumboOutput* parsed = gumbo_parse_with_options(&options, head.data(), head.size());
    std::vector<AnnouncedFeed> feeds;
    std::vector<const GumboNode*> pending{parsed->root};
    while (!pending.empty()) {
        const GumboNode* node = pending.back();
        pending.pop_back();
        if (node->type != GUMBO_NODE_ELEMENT)
            continue;
        const GumboElement& element = node->v.element;
        for (unsigned i = element.children.length; i-- > 0;)
            pending.push_back(static_cast<const GumboNode*>(element.children.data[i]));
        if (element.tag != GUMBO_TAG_LINK || !RelSaysAlternate(Attribute(element, "rel")))
            continue;
        const std::string type = FeedType(Attribute(element, "type"));
        const auto address =
            type.empty() ? std::nullopt : ResolveReference(pageAddress, Attribute(element, "href"));
        const bool known = std::any_of(feeds.begin(), feeds.end(), [&](const AnnouncedFeed& f) {
            return address && f.address == *address;
        });
        if (address && !known)
            feeds.push_back({*address, std::string(Trimmed(Attribute(element, "title"))), type});
    }
    gumbo_destroy_output(&options, parsed);
    return feeds;
}

} // namespace tickerlux::headlines
