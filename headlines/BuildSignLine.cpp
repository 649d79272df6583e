#include "headlines/TickerluxEngine.h"

#include "headlines/TimeStamp.h"
#include "settings/TickerluxDoc.h"

#include <algorithm>
#include <string_view>

namespace {

const char kSeparator[] = " -- ";

// Appends " -- " and each headline found between `before` and `after` in `page`. The search for
// the next headline starts where the last after-marker was found, so one marker may both close a
// headline and open the next.
void AppendHeadlines(std::string& line, std::string_view page, std::string_view before,
                     std::string_view after)
{
    std::size_t found = page.find(before);
    while (found != std::string_view::npos) {
        const std::size_t start = found + before.size();
        const std::size_t end = page.find(after, start);
        line += kSeparator;
        if (end == std::string_view::npos)
            return;  // an open headline without its end counts as empty, and ends the scan
        line += page.substr(start, end - start);
        if (before.empty())
            return;  // an empty before-marker matches everywhere: one headline only
        found = page.find(before, end);
    }
}

} // namespace

void CTickerluxEngine::BuildSignLine()
{
    const std::time_t started = m_clock();
    const std::string comment = m_doc.LeadingComment;
    const std::string before = m_doc.TextBefore;
    const std::string after = m_doc.TextAfter;

    m_signLine.clear();
    m_doc.SourceText.clear();
    m_pageFetched = FetchPage();
    if (!m_pageFetched) {
        m_doc.UpdateAllViews(nullptr, 0);
        return;
    }

    m_signLine = comment;
    if (m_doc.ShowTime != 0)
        m_signLine += FormatUpdateTimeStamp(started);
    AppendHeadlines(m_signLine, std::string_view(m_pageBuffer.get()), before, after);
    std::erase(m_signLine, '\n');
    std::erase(m_signLine, '\r');
}
