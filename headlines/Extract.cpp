#include "headlines/Extract.h"

#include <algorithm>
#include <utility>

namespace tickerlux::headlines {

namespace {

const char kSeparator[] = " -- ";

void AppendHeadlines(std::string& line, std::string_view page, std::string_view before,
                     std::string_view after, const HeadlineFilter& filter)
{
    std::size_t found = page.find(before);
    while (found != std::string_view::npos) {
        const std::size_t start = found + before.size();
        const std::size_t end = page.find(after, start);
        line += kSeparator;
        if (end == std::string_view::npos)
            return;
        const std::string_view headline = page.substr(start, end - start);
        if (filter)
            line += filter(headline);
        else
            line += headline;
        if (before.empty())
            return;  // an empty before-marker matches everywhere
        found = page.find(before, end);
    }
}

std::string WithoutLineBreaks(std::string line)
{
    std::erase(line, '\n');
    std::erase(line, '\r');
    return line;
}

} // namespace

std::string ExtractSignLine(std::string_view page, std::string_view before, std::string_view after,
                            std::string_view comment, std::string_view timeStamp,
                            const HeadlineFilter& filter)
{
    std::string line(comment);
    line += timeStamp;
    AppendHeadlines(line, page, before, after, filter);
    return WithoutLineBreaks(std::move(line));
}

std::string JoinSignLine(std::string_view comment, std::string_view timeStamp,
                         const std::vector<std::string>& headlines)
{
    std::string line(comment);
    line += timeStamp;
    for (const std::string& headline : headlines) {
        line += kSeparator;
        line += headline;
    }
    return WithoutLineBreaks(std::move(line));
}

} // namespace tickerlux::headlines
