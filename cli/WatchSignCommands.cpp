#include "cli/WatchSignCommands.h"

#include "cli/StoredConnection.h"
#include "cli/LogTimeStamp.h"
#include "engine/TickerluxEngine.h"
#include "settings/TickerluxDoc.h"
#include "base/Win1252.h"

#include <cstdio>

namespace tickerlux::cli {
namespace {

using tickerlux::mqtt::JobOutcome;

constexpr const char* kNoConnection = "no connection to the sign is stored any more";

// "connection refused (COM3 (/dev/ttyS2): open: ...)": the first failure of a command.
std::string FailureWords(const engine::CommandOutcome& outcome)
{
    if (outcome.Failures().empty())
        return {};
    const base::Failure& failure = outcome.Failures().front().failure;
    std::string words(base::Describe(failure.kind));
    if (!failure.Text().empty())
        words += " (" + failure.Text() + ")";
    return words;
}

// The page's address as the feed gives it.
std::string FeedAddress(const settings::CTickerluxDoc& doc)
{
    const bool hasScheme = doc.WebServer.rfind("http://", 0) == 0 ||
                           doc.WebServer.rfind("https://", 0) == 0;
    return base::win1252::ToUtf8((hasScheme ? "" : "http://") + doc.WebServer + doc.WebPath);
}

} // namespace

CWatchSignCommands::CWatchSignCommands(settings::CTickerluxDoc& doc, engine::CTickerluxEngine& engine,
                                       const ConnectionOptions& connection)
    : m_doc(doc), m_engine(engine), m_connection(connection)
{
}

bool CWatchSignCommands::Connect()
{
    // Read once for the job, afresh each time, so that `tickerlux-cli config` takes effect at the
    // next one.
    const settings::LoadedUserSettings stored = settings::LoadUserSettings();
    if (stored.failure.Failed()) {
        std::fprintf(stderr, "%s %s\n", LogTimeStamp().c_str(), StoreFailureText(stored.failure).c_str());
        return false;
    }
    if (ApplyConnection(stored.settings, m_doc, m_connection)) {
        UseUserSettings(m_engine, stored.settings);
        return true;
    }
    std::fprintf(stderr, "%s %s; see 'tickerlux-cli config'\n", LogTimeStamp().c_str(),
                 kNoConnection);
    return false;
}

JobOutcome CWatchSignCommands::UpdateNow()
{
    if (!Connect())
        return Finish("update", "", nullptr, "");
    const engine::CommandOutcome outcome = m_engine.OnUpdateSignNow();
    return Finish("update", "sign updated", &outcome, m_engine.SignLine());
}

JobOutcome CWatchSignCommands::SendMessage(const std::string& line, std::optional<int> colorIndex,
                                           std::optional<bool> condensed)
{
    if (!Connect())
        return Finish("message", "", nullptr, "");
    // The message's colour and mode are for this line only; the feed's come back for updates.
    const int feedColor = m_doc.ColorIndex;
    const int feedCondensed = m_doc.Condensed;
    m_doc.ColorIndex = colorIndex.value_or(feedColor);
    m_doc.Condensed = condensed ? (*condensed ? 1 : 0) : feedCondensed;
    const engine::CommandOutcome outcome = m_engine.OnSendLine(line);
    m_doc.ColorIndex = feedColor;
    m_doc.Condensed = feedCondensed;
    return Finish("message", "message sent", &outcome, line);
}

JobOutcome CWatchSignCommands::Clear()
{
    if (!Connect())
        return Finish("clear", "", nullptr, "");
    const engine::CommandOutcome outcome = m_engine.OnClearSign();
    return Finish("clear", "sign cleared", &outcome, "");
}

JobOutcome CWatchSignCommands::Finish(const char* job, const char* done,
                                      const engine::CommandOutcome* outcome, const std::string& shown)
{
    JobOutcome result;
    result.succeeded = outcome && outcome->Succeeded();
    if (!outcome)
        result.words = std::string(job) + " failed: " + kNoConnection;
    else if (!outcome->Ran())
        result.words = std::string(job) + " dropped: another job was running";
    else if (!result.succeeded)
        result.words = std::string(job) + " failed: " + FailureWords(*outcome);
    else
        result.words = done;
    // A failed download still delivers its (empty) line; an abandoned one delivers nothing.
    const base::Failure* fetch = outcome ? outcome->FailureOf(engine::Step::Fetch) : nullptr;
    if (outcome && outcome->Ran() && !outcome->FailureOf(engine::Step::Delivery) &&
        !(fetch && fetch->kind == base::FailureKind::Abandoned)) {
        m_state.line = base::win1252::ToUtf8(shown);
        m_state.sentAt = std::chrono::system_clock::now();
    }
    m_state.lastJob = result.words;
    return result;
}

tickerlux::mqtt::SignState CWatchSignCommands::State() const
{
    tickerlux::mqtt::SignState state = m_state;
    state.feedAddress = FeedAddress(m_doc);
    return state;
}

} // namespace tickerlux::cli
