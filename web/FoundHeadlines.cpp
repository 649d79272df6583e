#include "web/FoundHeadlines.h"

#include "base/Win1252.h"
#include "engine/HeadlineChoice.h"

namespace tickerlux::web {
namespace {

using base::win1252::ToUtf8;
using headlines::HeadlineCandidate;

// Why nothing could be chosen: the download's failure and its cause, or that nothing was found.
std::vector<std::string> NothingFound(const engine::JobOutcome& found)
{
    if (found.stopped)
        return {"Find Headlines was stopped."};
    if (const base::Failure* failure = found.steps.FailureOf(engine::Step::Fetch)) {
        return {"The page could not be downloaded.", "cause: " + failure->Cause()};
    }
    std::string why(engine::kNoHeadlinesFound);
    why[0] = 'N';
    return {why + "."};
}

} // namespace

nlohmann::json CandidatesJson(const std::vector<HeadlineCandidate>& candidates)
{
    nlohmann::json list = nlohmann::json::array();
    for (const HeadlineCandidate& candidate : candidates) {
        nlohmann::json headlines = nlohmann::json::array();
        for (const std::string& headline : candidate.firstHeadlines)
            headlines.push_back(ToUtf8(headline));
        list.push_back({{"what", ToUtf8(engine::DescribeCandidate(candidate))},
                        {"address", headlines::FullAddress(candidate.address)},
                        {"source", candidate.headlineSource},
                        {"before", ToUtf8(candidate.before)},
                        {"after", ToUtf8(candidate.after)},
                        {"count", candidate.headlineCount},
                        {"headlines", headlines},
                        {"leftOut", ToUtf8(candidate.leftOutBecause)}});
    }
    return list;
}

std::vector<std::string> FindMessages(const engine::JobOutcome& found, bool addressAlone,
                                      const HeadlineCandidate* chosen)
{
    if (chosen) {
        return {"Chose " + ToUtf8(engine::DescribeCandidate(*chosen)) + ", " + engine::HeadlineCount(chosen->headlineCount) + ".",
                "The other ways are listed under Find Headlines."};
    }
    const HeadlineCandidate* best = engine::BestCandidate(found.candidates);
    if (!addressAlone && best) {
        std::size_t usable = 0;
        for (const HeadlineCandidate& candidate : found.candidates)
            usable += candidate.leftOutBecause.empty() ? 1 : 0;
        return {"Found " + std::to_string(usable) + (usable == 1 ? " way" : " ways") +
                " to get headlines; choose one below."};
    }
    std::vector<std::string> lines = NothingFound(found);
    if (addressAlone && !found.searched.webServer.empty())
        lines.emplace_back("The address is stored; the headline source and markers are as they were.");
    return lines;
}

} // namespace tickerlux::web
