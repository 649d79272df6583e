#pragma once

#include <string>
#include <string_view>

// The sign line of a page.
namespace headlines {

// `comment`, then `timeStamp`, then " -- " and each headline found between `before` and `after`
// in `page`, with every CR and LF removed. The search for the next headline starts where the last
// after-marker was found, so one marker may both close a headline and open the next. A headline
// without its after-marker counts as empty and ends the scan; an empty before-marker matches once.
std::string ExtractSignLine(std::string_view page, std::string_view before, std::string_view after,
                            std::string_view comment, std::string_view timeStamp);

} // namespace headlines
