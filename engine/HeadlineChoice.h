#pragma once

#include "engine/JobRunner.h"
#include "headlines/HeadlineCandidates.h"
#include "settings/FeedFields.h"

#include <string>
#include <string_view>
#include <vector>

// Choosing one of the ways that a FindHeadlines job found: what it sets in the feed fields, the
// same in every front end.
namespace tickerlux::engine {

// One feed field that a choice sets: its name in the field table and its value as the table
// reads it (Windows-1252; a number in decimal).
struct FieldSetting {
    std::string_view name;
    std::string value1252;
};

// The fields that choose `candidate`, in file order: WebServer and WebPath, then for markers
// TextBefore and TextAfter, then HeadlineSource. A feed leaves the markers as they are, so a
// later return to markers finds them.
std::vector<FieldSetting> ChoiceSettings(const headlines::HeadlineCandidate& candidate);

// Gives `values` the fields that choose `candidate`.
void ApplyCandidate(const headlines::HeadlineCandidate& candidate,
                    settings::FeedFieldValues& values);

// The best way that works (the candidates come best first), or nullptr.
const headlines::HeadlineCandidate* BestCandidate(
    const std::vector<headlines::HeadlineCandidate>& candidates);

// What an address alone does, from its FindHeadlines outcome: the best way is chosen; when
// there is none (nothing found, the download failed or was stopped) only the address is stored,
// and the headline source and markers stay as they were. An address that could not be read
// changes nothing. Returns the way chosen, or nullptr.
const headlines::HeadlineCandidate* ApplyBestFound(const JobOutcome& found,
                                                   settings::FeedFieldValues& values);

// One line that names a way, for a list or a notice (Windows-1252): "the page itself, read as a
// feed", "the feed "Top stories" that the page announces", "the text between two markers".
std::string DescribeCandidate(const headlines::HeadlineCandidate& candidate);

// "1 headline", "6 headlines".
std::string HeadlineCount(std::size_t count);

// Why a page that downloaded gave no way at all.
inline constexpr std::string_view kNoHeadlinesFound =
    "no headlines found: the page is not a feed, announces no feed with items, and repeats no "
    "headline-like texts in the same markup";

} // namespace tickerlux::engine
