#include "headlines/Extract.h"

#include <algorithm>

namespace headlines {
namespace {

const char kSeparator[] = " -- ";

void AppendHeadlines(std::string& line, std::string_view page, std::string_view before,
                     std::string_view after)
{
    std::size_t found = page.find(before);
    while (found != std::string_view::npos) {
        const std::size_t start = found + before.size();
        const std::size_t end = page.find(after, start);
        line += kSeparator;
        if (end == std::string_view::npos)
            return;
        line += page.substr(start, end - start);
        if (before.empty())
            return;  // an empty before-marker matches everywhere
        found = page.find(before, end);
    }
}

} // namespace

std::string ExtractSignLine(std::string_view page, std::string_view before, std::string_view after,
                            std::string_view comment, std::string_view timeStamp)
{
    std::string line(comment);
    line += timeStamp;
    AppendHeadlines(line, page, before, after);
    std::erase(line, '\n');
    std::erase(line, '\r');
    return line;
}

} // namespace headlines
