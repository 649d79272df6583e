#include "engine/HeadlineChoice.h"

#include <algorithm>

namespace tickerlux::engine {

using headlines::CandidateKind;
using headlines::HeadlineCandidate;

std::vector<FieldSetting> ChoiceSettings(const HeadlineCandidate& candidate)
{
    std::vector<FieldSetting> settings{{"WebServer", candidate.address.webServer},
                                       {"WebPath", candidate.address.webPath}};
    if (candidate.headlineSource == settings::kHeadlinesFromMarkers) {
        settings.push_back({"TextBefore", candidate.before});
        settings.push_back({"TextAfter", candidate.after});
    }
    settings.push_back({"HeadlineSource", std::to_string(candidate.headlineSource)});
    return settings;
}

void ApplyCandidate(const HeadlineCandidate& candidate, settings::FeedFieldValues& values)
{
    for (const FieldSetting& setting : ChoiceSettings(candidate))
        settings::FeedFieldNamed(setting.name).Parse1252(values, setting.value1252);
}

const HeadlineCandidate* BestCandidate(const std::vector<HeadlineCandidate>& candidates)
{
    const auto best = std::ranges::find_if(
        candidates, [](const HeadlineCandidate& c) { return c.leftOutBecause.empty(); });
    return best == candidates.end() ? nullptr : &*best;
}

const HeadlineCandidate* ApplyBestFound(const JobOutcome& found, settings::FeedFieldValues& values)
{
    if (found.searched.webServer.empty())
        return nullptr;
    const HeadlineCandidate* best = BestCandidate(found.candidates);
    if (best) {
        ApplyCandidate(*best, values);
    } else {
        values.WebServer = found.searched.webServer;
        values.WebPath = found.searched.webPath;
    }
    return best;
}

std::string DescribeCandidate(const HeadlineCandidate& candidate)
{
    switch (candidate.kind) {
    case CandidateKind::PageAsFeed:
        return "the page itself, read as a feed";
    case CandidateKind::AnnouncedFeed:
        return candidate.title.empty() ? "a feed that the page announces"
                                       : "the feed \"" + candidate.title + "\" that the page announces";
    case CandidateKind::Markers:
        break;
    }
    return "the text between two markers";
}

std::string HeadlineCount(std::size_t count)
{
    return std::to_string(count) + (count == 1 ? " headline" : " headlines");
}

} // namespace tickerlux::engine
