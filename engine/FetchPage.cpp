#include "engine/TickerluxEngine.h"

#include "engine/UserInterface.h"
#include "headlines/FeedItems.h"
#include "headlines/Fetch.h"
#include "headlines/PageCharset.h"
#include "headlines/PageText.h"
#include "settings/TickerluxDoc.h"

#include <utility>

namespace tickerlux::engine {

namespace {

const char kConnectionError[] =
    "Error connecting to the website.\n\nThe field, \"Web Server:\" field should not contain "
    "\"http://\"or any other forward-slashes. The next field, \"Directory/File on Website\" must "
    "start with a forward-slash and may contain more as needed.  From a web browser, you can cut "
    "and paste the URL directly following the servername into this second field - please load "
    "the included datafiles for an example.";
const char kOverrunNotice[] = "File overran buffer -- not cached";

} // namespace

headlines::FetchLimits DownloadLimits(IUserInterface& ui, std::size_t maxLength,
                                      const headlines::TimeLimits& time, const std::string& caFile)
{
    headlines::FetchLimits limits;
    limits.maxLength = maxLength;
    limits.time = time;
    limits.caFile = caFile;
    limits.stopRequested = [&ui] { return ui.StopRequested(); };
    limits.progress = [&ui](std::size_t received) {
        ui.DownloadProgress(static_cast<long long>(received));
    };
    return limits;
}

base::Failure CTickerluxEngine::FetchPage()
{
    // Feeds carry whole articles, so a feed may be much longer than a page cut by markers.
    const headlines::FetchLimits limits = DownloadLimits(
        m_ui,
        m_doc.HeadlineSource == settings::kHeadlinesFromFeedItems ? headlines::kMaxFeedLength
                                                                 : kMaxPageLength,
        m_fetchTimeLimits, m_caFile);
    headlines::FetchedPage fetched = headlines::Fetch(m_doc.WebServer, m_doc.WebPath, limits);
    if (fetched.failure.kind == base::FailureKind::Abandoned)
        return fetched.failure;
    if (fetched.failure.Failed()) {
        m_ui.MessageBox(kConnectionError);
        m_ui.DownloadFailed(fetched.failure);
        return fetched.failure;
    }
    // The limit is on the page as downloaded: its text in the code page may be longer (Chinese
    // spelled in Latin letters).
    m_page = m_headlineCleanup
                 ? headlines::ToCodePage(
                       fetched.page,
                       headlines::pagecharset::Detect(fetched.contentType, fetched.page))
                 : fetched.page;
    m_download = std::move(fetched.page);
    if (fetched.overran)
        m_ui.MessageBox(kOverrunNotice);
    m_doc.SourceText = PageText();
    return {};
}

} // namespace tickerlux::engine
