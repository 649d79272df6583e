#include "cli/Watch.h"

#include "cli/ExitCodes.h"
#include "cli/LogTimeStamp.h"
#include "engine/UpdateInterval.h"
#include "settings/DocFileMessages.h"
#include "settings/TickerluxDoc.h"

#include <cerrno>
#include <cstring>

namespace tickerlux::cli {

namespace {

bool PrintStamped(std::FILE* stream, const std::string& text)
{
    return std::fprintf(stream, "%s %s\n", LogTimeStamp().c_str(), text.c_str()) >= 0 &&
           std::fflush(stream) == 0;
}

// The watch's report on standard output. The first line that cannot be written (a closed pipe,
// a full disk) is reported once on `err` and the report ends there; the watch goes on keeping
// the sign current.
class CWatchReport {
public:
    CWatchReport(std::FILE* out, std::FILE* err) : m_out(out), m_err(err) {}

    void Print(const std::string& text)
    {
        if (m_broken || PrintStamped(m_out, text))
            return;
        const int error = errno != 0 ? errno : EIO;
        m_broken = true;
        PrintStamped(m_err, std::string("tickerlux-cli watch: cannot write the output: ") +
                                std::strerror(error) + " (the watch goes on)");
    }

private:
    std::FILE* m_out;
    std::FILE* m_err;
    bool m_broken = false;
};

// Reads the feed file into a copy, so that a file that cannot be read leaves `doc` as it was.
bool ReloadFeed(const std::string& feedPath, settings::CTickerluxDoc& doc, std::FILE* err)
{
    settings::CTickerluxDoc fresh = doc;
    if (const base::Failure failure = fresh.OnOpenDocument(feedPath); failure.Failed()) {
        PrintStamped(err, settings::DocFileMessage(failure) +
                              " (keeping the settings last read from the file)");
        return false;
    }
    doc = fresh;
    return true;
}

// Waits for `slot`, running `between` whenever the wait ends early; false on a stop request.
bool WaitForSlot(IWatchClock& clock, IWatchClock::TimePoint slot,
                 const std::function<void()>& between)
{
    for (;;) {
        if (!clock.WaitUntil(slot))
            return false;
        if (clock.Now() >= slot)
            return true;
        if (between)
            between();
    }
}

} // namespace

IWatchClock::TimePoint NextSlot(IWatchClock::TimePoint previous,
                                IWatchClock::TimePoint::duration period,
                                IWatchClock::TimePoint now)
{
    IWatchClock::TimePoint next = previous + period;
    if (next < now)
        next += ((now - next + period - IWatchClock::TimePoint::duration(1)) / period) * period;
    return next;
}

int RunWatch(const std::string& feedPath, settings::CTickerluxDoc& doc, IWatchClock& clock,
             const std::function<bool()>& update, std::FILE* out, std::FILE* err,
             const std::function<void()>& between)
{
    if (const base::Failure failure = doc.OnOpenDocument(feedPath); failure.Failed()) {
        std::fprintf(err, "%s\n", settings::DocFileMessage(failure).c_str());  // already UTF-8
        return kExitUsage;
    }
    const std::string feedName = doc.GetTitle();  // a file name: bytes as the file system has them
    CWatchReport report(out, err);
    IWatchClock::TimePoint next = clock.Now();
    int shownMinutes = 0;
    for (bool first = true; WaitForSlot(clock, next, between); first = false) {
        if (!first)
            ReloadFeed(feedPath, doc, err);
        const int minutes = engine::interval::GetUpdateMinutes(doc.UpdateMinutes).minutes;
        if (minutes != shownMinutes) {
            const char* unit = minutes == 1 ? " minute" : " minutes";
            report.Print("watching " + feedName + ": an update every " + std::to_string(minutes) +
                         unit);
            shownMinutes = minutes;
        }
        // A stop abandons a download; that is no failure worth a line, the watch just ends.
        if (update())
            report.Print("sign updated");
        else if (!clock.StopRequested())
            PrintStamped(err, "update failed; the next one follows on schedule");
        if (clock.StopRequested())
            break;
        next = NextSlot(next, engine::interval::TimerPeriod(minutes), clock.Now());
    }
    report.Print("watch stopped");
    return kExitOk;
}

} // namespace tickerlux::cli
