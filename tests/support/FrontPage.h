#pragma once

#include <cstddef>
#include <string>
#include <vector>

// A news site's front page as such pages are built: a navigation menu of short links, then
// stories, each a headline link in a heading, a summary and a byline, links differing per story.
struct FrontPage {
    std::string html;
    std::vector<std::string> headlines; // the stories' headlines, in page order
};

// Stories are added until the page would pass `size` bytes; the page is then padded to exactly
// `size` bytes.
FrontPage MakeFrontPage(std::size_t size);
