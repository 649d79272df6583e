// Marker pairs found on a generated front page.
#include "headlines/MarkerFinder.h"
#include "headlines/Extract.h"
#include "headlines/HeadlineCleanup.h"
#include "tests/support/FrontPage.h"

#include <gtest/gtest.h>

using namespace tickerlux;
using namespace tickerlux::headlines;

namespace {

TEST(MarkerFinderTest, BestPairCutsExactlyTheStoryHeadlines)
{
    const FrontPage page = MakeFrontPage(12000);
    ASSERT_GE(page.headlines.size(), 10u);
    const auto pairs = tickerlux::headlines::FindMarkerPairs(page.html);
    ASSERT_FALSE(pairs.empty());
    EXPECT_EQ(pairs[0].headlines, page.headlines);

    // The pair as the sign line uses it.
    std::vector<std::string> cut;
    headlines::ExtractSignLine(page.html, pairs[0].before, pairs[0].after, "", "",
                               [&](std::string_view headline) {
                                   cut.push_back(CleanHeadline(headline));
                                   return std::string();
                               });
    EXPECT_EQ(cut, page.headlines) << pairs[0].before << " ... " << pairs[0].after;
}

} // namespace
