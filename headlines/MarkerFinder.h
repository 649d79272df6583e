#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Marker pairs for a page whose headlines no feed gives: the literal texts around the repeated,
// headline-like texts of its markup.
namespace tickerlux::headlines {

struct MarkerPair {
    std::string before; // the markers, in the page's text as the sign line is cut from it
    std::string after;
    // What the pair cuts out of the page (headlines::ExtractSignLine's scan), each headline
    // cleaned as the sign line's are (CleanHeadline), in page order.
    std::vector<std::string> headlines;
    // How much the headlines look like a list of news headlines: enough of them, distinct, of a
    // headline's length, several words, mostly letters. Higher is better; always above zero.
    double score = 0;
};

inline constexpr std::size_t kMaxMarkerPairs = 10;

// At most kMaxMarkerPairs pairs, best first, no two cutting the same headlines. `page` is the
// text the sign line is cut from (Windows-1252, as the engine holds a page).
std::vector<MarkerPair> FindMarkerPairs(std::string_view page);

// The score of a list of cleaned headlines (0 for fewer than three or none like a headline).
double HeadlineListScore(const std::vector<std::string>& headlines);

} // namespace tickerlux::headlines
