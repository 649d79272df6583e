#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tickerlux::headlines {

// The sign line of a page.

// `comment`, then `timeStamp`, then " -- " and each headline found between `before` and `after`
// in `page`, with every CR and LF removed. The search for the next headline starts where the last
// after-marker was found, so one marker may both close a headline and open the next. A headline
// without its after-marker counts as empty and ends the scan; an empty before-marker matches once.
// Each headline found goes through `filter` first, when one is given.
using HeadlineFilter = std::function<std::string(std::string_view headline)>;
std::string ExtractSignLine(std::string_view page, std::string_view before, std::string_view after,
                            std::string_view comment, std::string_view timeStamp,
                            const HeadlineFilter& filter = nullptr);

// The same line from headlines found otherwise (a feed's item titles): `comment`, `timeStamp`,
// then " -- " and each headline, with every CR and LF removed.
std::string JoinSignLine(std::string_view comment, std::string_view timeStamp,
                         const std::vector<std::string>& headlines);

} // namespace tickerlux::headlines
