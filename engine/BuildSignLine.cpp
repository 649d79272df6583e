#include "engine/TickerluxEngine.h"

#include "headlines/Extract.h"
#include "headlines/TimeStamp.h"
#include "settings/TickerluxDoc.h"

Failure CTickerluxEngine::BuildSignLine()
{
    const std::time_t started = m_clock();
    const std::string comment = m_doc.LeadingComment;
    const std::string before = m_doc.TextBefore;
    const std::string after = m_doc.TextAfter;

    m_signLine.clear();
    m_doc.SourceText.clear();
    Failure fetched = FetchPage();
    if (fetched.Failed()) {
        m_doc.UpdateAllViews(nullptr, 0);
        return fetched;
    }
    const std::string stamp = m_doc.ShowTime != 0 ? FormatUpdateTimeStamp(started) : "";
    m_signLine = headlines::ExtractSignLine(m_pageBuffer.get(), before, after, comment, stamp);
    return {};
}
