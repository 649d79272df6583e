#include "headlines/MarkerFinder.h"

#include "base/AsciiCase.h"
#include "headlines/Extract.h"
#include "headlines/HeadlineCleanup.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <utility>

namespace tickerlux::headlines {
namespace {

// How far the texts around a headline are compared.
constexpr std::size_t kContext = 96;
// How many opening tags right before a text a before-marker may reach over (their attributes,
// such as a link's address, differ from item to item and end up inside the cut headline).
constexpr int kTagLevels = 2;
constexpr std::size_t kMinRunLength = 12;
constexpr std::size_t kMaxRunLength = 400;
constexpr std::size_t kMaxRuns = 5000;
// Pairs whose cut is tried on the page, chosen by how headline-like their texts are.
constexpr std::size_t kPairsTried = 40;
// A cut longer than this is no headline, and is not cleaned.
constexpr std::size_t kMaxCut = 2000;
constexpr std::size_t kMaxHeadlines = 500;
constexpr std::size_t kMinHeadlines = 3;

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

// How much one text reads like a headline, from 0 to 1.
double HeadlineQuality(std::string_view text)
{
    const double length = static_cast<double>(text.size());
    if (length < 15 || length > 300)
        return 0;
    const double lengthFit = length < 40     ? (length - 15) / 25
                             : length <= 150 ? 1
                                             : (300 - length) / 150;
    int words = 0;
    std::size_t wordBytes = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (!IsSpace(text[i]) && (i == 0 || IsSpace(text[i - 1])))
            ++words;
        if (std::isalpha(c) || c >= 0x80 || IsSpace(text[i]) || c == '\'' || c == ',')
            ++wordBytes;
    }
    const double wordsFit = words < 3 ? 0 : words >= 5 ? 1 : (words - 2) / 3.0;
    const double letters = static_cast<double>(wordBytes) / length;
    const double lettersFit = std::clamp((letters - 0.6) / 0.25, 0.0, 1.0);
    return lengthFit * wordsFit * lettersFit;
}

struct Run {
    std::size_t start; // just after the '>' before the text
    std::size_t end;   // at the '<' after it
};

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// The texts between tags that could be headlines: several words, outside scripts, styles and
// comments.
std::vector<Run> TextRuns(std::string_view page)
{
    const std::string lower = base::AsciiLowered(page);
    std::vector<Run> runs;
    std::size_t at = 0;
    for (std::size_t open; runs.size() < kMaxRuns && (open = page.find('<', at)) != page.npos;) {
        const std::string_view text = Trimmed(page.substr(at, open - at));
        if (at > 0 && text.size() >= kMinRunLength && open - at <= kMaxRunLength &&
            std::count(text.begin(), text.end(), ' ') >= 2)
            runs.push_back({at, open});
        std::size_t close = std::string::npos;
        if (lower.compare(open, 4, "<!--") == 0) {
            close = lower.find("-->", open);
            close = close == std::string::npos ? close : close + 2;
        } else if (lower.compare(open, 7, "<script") == 0 ||
                   lower.compare(open, 6, "<style") == 0) {
            const bool script = lower[open + 2] == 'c';
            const std::size_t end = lower.find(script ? "</script" : "</style", open);
            close = end == std::string::npos ? end : lower.find('>', end);
        } else {
            close = page.find('>', open);
        }
        if (close == std::string::npos)
            break;
        at = close + 1;
    }
    return runs;
}

// Where a cut may start before a text: at the text, or at one of the opening tags right before.
std::vector<std::size_t> CutStarts(std::string_view page, std::size_t textStart)
{
    std::vector<std::size_t> starts{textStart};
    std::size_t at = textStart;
    for (int level = 0; level < kTagLevels; ++level) {
        while (at > 0 && IsSpace(page[at - 1]))
            --at;
        if (at == 0 || page[at - 1] != '>')
            break;
        const std::size_t open = page.rfind('<', at - 1);
        if (open == std::string_view::npos || page[open + 1] == '/' || page[open + 1] == '!')
            break;
        at = open;
        starts.push_back(at);
    }
    return starts;
}

struct Entry {
    std::size_t run;
    std::string reversedBefore; // the kContext bytes before the cut, last byte first
};

std::size_t CommonPrefix(std::string_view a, std::string_view b)
{
    return static_cast<std::size_t>(
        std::mismatch(a.begin(), a.begin() + std::min(a.size(), b.size()), b.begin()).first -
        a.begin());
}

// A before-marker from the texts that a group's cuts share: from a tag's start, or failing that
// an attribute's ("\" class=\"story\">" after differing addresses).
std::string BeforeMarker(std::string_view shared)
{
    std::size_t from = shared.find('<');
    if (from == std::string_view::npos)
        from = shared.find(' ');
    if (from == std::string_view::npos || shared.size() - from < 4)
        return {};
    return std::string(shared.substr(from));
}

// Candidate pairs with the quality of the texts they were found around: each group of texts
// whose cuts share the bytes before them (found as the intervals of equal prefixes among the
// sorted, reversed texts before) gives its shared bytes and those shared after its texts.
std::map<std::pair<std::string, std::string>, double> CandidatePairs(std::string_view page,
                                                                     const std::vector<Run>& runs)
{
    std::vector<double> quality;
    std::vector<Entry> entries;
    for (std::size_t r = 0; r < runs.size(); ++r) {
        quality.push_back(
            HeadlineQuality(Trimmed(page.substr(runs[r].start, runs[r].end - runs[r].start))));
        for (const std::size_t cut : CutStarts(page, runs[r].start)) {
            const std::size_t from = cut > kContext ? cut - kContext : 0;
            entries.push_back(
                {r, std::string(page.rbegin() + static_cast<std::ptrdiff_t>(page.size() - cut),
                                page.rbegin() + static_cast<std::ptrdiff_t>(page.size() - from))});
        }
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.reversedBefore < b.reversedBefore; });

    std::map<std::pair<std::string, std::string>, double> pairs;
    const auto take = [&](std::size_t shared, std::size_t first, std::size_t last) {
        if (last - first + 1 < kMinHeadlines || shared == 0)
            return;
        std::string reversed = entries[first].reversedBefore.substr(0, shared);
        std::string before = BeforeMarker(std::string(reversed.rbegin(), reversed.rend()));
        if (before.empty())
            return;
        std::set<std::size_t> group;
        for (std::size_t i = first; i <= last; ++i)
            group.insert(entries[i].run);
        if (group.size() < kMinHeadlines)
            return;
        std::string_view after = page.substr(runs[*group.begin()].end, kContext);
        double sum = 0;
        for (const std::size_t r : group) {
            after = after.substr(0, CommonPrefix(after, page.substr(runs[r].end, kContext)));
            sum += quality[r];
        }
        after = after.substr(0, after.rfind('>') + 1);
        if (after.empty() || sum <= 0)
            return;
        double& best = pairs[{std::move(before), std::string(after)}];
        best = std::max(best, sum);
    };
    // The intervals of the longest common prefixes of neighbours, innermost first.
    struct Open {
        std::size_t shared;
        std::size_t first;
    };
    std::vector<Open> open{{0, 0}};
    for (std::size_t i = 1; i <= entries.size(); ++i) {
        const std::size_t shared = i < entries.size() ? CommonPrefix(entries[i - 1].reversedBefore,
                                                                     entries[i].reversedBefore)
                                                      : 0;
        std::size_t first = i - 1;
        while (shared < open.back().shared) {
            const Open closed = open.back();
            open.pop_back();
            take(closed.shared, closed.first, i - 1);
            first = closed.first;
        }
        if (shared > open.back().shared)
            open.push_back({shared, first});
    }
    return pairs;
}

// The headlines that the sign line would hold with given markers, cleaned. Pairs found around
// the same texts often cut the very same stretches of the page, so each stretch is cleaned once.
class CCutter {
public:
    explicit CCutter(std::string_view page) : m_page(page) {}

    std::vector<std::string> Cut(const std::string& before, const std::string& after)
    {
        std::vector<std::string> headlines;
        ExtractSignLine(m_page, before, after, "", "", [&](std::string_view headline) {
            if (headlines.size() < kMaxHeadlines)
                headlines.push_back(Cleaned(headline));
            return std::string();
        });
        return headlines;
    }

private:
    const std::string& Cleaned(std::string_view headline)
    {
        const auto key = std::make_pair(headline.data() - m_page.data(), headline.size());
        auto found = m_cleaned.find(key);
        if (found == m_cleaned.end())
            found = m_cleaned
                        .emplace(key, headline.size() > kMaxCut
                                          ? std::string(headline.substr(0, kMaxCut))
                                          : CleanHeadline(headline))
                        .first;
        return found->second;
    }

    std::string_view m_page;
    std::map<std::pair<std::ptrdiff_t, std::size_t>, std::string> m_cleaned;
};

} // namespace

double HeadlineListScore(const std::vector<std::string>& headlines)
{
    if (headlines.size() < kMinHeadlines)
        return 0;
    const std::set<std::string> distinct(headlines.begin(), headlines.end());
    double sum = 0;
    for (const std::string& headline : distinct)
        sum += HeadlineQuality(headline);
    const auto good = std::count_if(headlines.begin(), headlines.end(),
                                    [](const std::string& h) { return HeadlineQuality(h) >= 0.5; });
    const double count = static_cast<double>(headlines.size());
    return sum * (static_cast<double>(good) / count) *
           (static_cast<double>(distinct.size()) / count);
}

std::vector<MarkerPair> FindMarkerPairs(std::string_view page)
{
    const auto candidates = CandidatePairs(page, TextRuns(page));
    std::vector<std::pair<double, std::pair<std::string, std::string>>> ranked;
    for (const auto& [pair, quality] : candidates)
        ranked.emplace_back(quality, pair);
    std::sort(ranked.begin(), ranked.end(),
              [](const auto& a, const auto& b) { return a.first > b.first; });
    ranked.resize(std::min(ranked.size(), kPairsTried));

    CCutter cutter(page);
    std::vector<MarkerPair> found;
    for (auto& [quality, pair] : ranked) {
        MarkerPair marker{std::move(pair.first), std::move(pair.second), {}, 0};
        marker.headlines = cutter.Cut(marker.before, marker.after);
        marker.score = HeadlineListScore(marker.headlines);
        if (marker.score > 0)
            found.push_back(std::move(marker));
    }
    // Best first; of pairs that cut the same headlines, the shortest stays.
    std::sort(found.begin(), found.end(), [](const MarkerPair& a, const MarkerPair& b) {
        if (a.score != b.score)
            return a.score > b.score;
        return a.before.size() + a.after.size() < b.before.size() + b.after.size();
    });
    std::vector<MarkerPair> best;
    for (MarkerPair& marker : found) {
        const bool same = std::any_of(best.begin(), best.end(), [&](const MarkerPair& b) {
            return b.headlines == marker.headlines;
        });
        if (!same && best.size() < kMaxMarkerPairs)
            best.push_back(std::move(marker));
    }
    return best;
}

} // namespace tickerlux::headlines
