#include "engine/TickerluxEngine.h"

#include "headlines/Extract.h"
#include "headlines/FeedItems.h"
#include "headlines/HeadlineCleanup.h"
#include "headlines/PageText.h"
#include "headlines/ShowableText.h"
#include "headlines/TimeStamp.h"
#include "settings/TickerluxDoc.h"
#include "sign/TextEncoder.h"

namespace tickerlux::engine {

namespace {

// A headline as a reader sees it, in characters the sign shows, and shown as it stands even
// where it reads like a numeric reference.
std::string CleanForSign(std::string_view headline)
{
    return sign::LiteralText(CTickerluxEngine::ShownOnSign(headlines::CleanHeadline(headline)));
}

} // namespace

std::string CTickerluxEngine::ShownOnSign(std::string_view text)
{
    static const headlines::CShowableText signText(sign::ShowableBytes());
    return signText.Fold(text);
}

base::Failure CTickerluxEngine::BuildSignLine()
{
    const std::time_t started = m_clock();
    // The comment's references ("&#233;") are the user's own and stay references.
    const std::string comment =
        m_headlineCleanup ? ShownOnSign(m_doc.LeadingComment) : m_doc.LeadingComment;
    const std::string before = m_doc.TextBefore;
    const std::string after = m_doc.TextAfter;

    m_signLine.clear();
    m_doc.SourceText.clear();
    base::Failure fetched = FetchPage();
    if (fetched.Failed()) {
        m_doc.UpdateAllViews(nullptr, 0);
        return fetched;
    }
    const std::string stamp = m_doc.ShowTime != 0 ? headlines::FormatUpdateTimeStamp(started) : "";
    if (m_doc.HeadlineSource == settings::kHeadlinesFromFeedItems)
        m_signLine = headlines::JoinSignLine(comment, stamp, FeedHeadlines());
    else
        m_signLine = headlines::ExtractSignLine(PageText(), before, after, comment, stamp,
                                                m_headlineCleanup ? CleanForSign : nullptr);
    return {};
}

std::vector<std::string> CTickerluxEngine::FeedHeadlines() const
{
    std::vector<std::string> headlines;
    for (const std::string& title : headlines::ReadFeedItems(m_download).titles)
        headlines.push_back(CleanForSign(headlines::ToCodePage(title, "UTF-8")));
    return headlines;
}

} // namespace tickerlux::engine
