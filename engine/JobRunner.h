#pragma once

#include "engine/Outcome.h"
#include "headlines/HeadlineCandidates.h"
#include "headlines/TimeLimits.h"
#include "link/Delivery.h"
#include "settings/CommSettings.h"
#include "settings/FeedFields.h"
#include "settings/PortMap.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <ctime>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace tickerlux::settings {
class CTickerluxDoc;
} // namespace tickerlux::settings

// A command as a job: it runs on values copied when it starts, reports its stage and progress,
// takes a stop request, and hands back its outcome as a value that the front end applies on its
// own thread. Nothing here touches a widget: no message box, no cursor, no event pump.
namespace tickerlux::engine {

enum class JobCommand {
    UpdateSignNow,     // download, build the line, deliver memory config, text, run sequence
    ClearSign,         // deliver the clear transmission
    UpdateSourceOnly,  // download and build the line; nothing is delivered
    SendLine,          // deliver JobRequest::line as the sign line, without a download
    // Download a page and list the ways to get headlines from it (JobOutcome::candidates);
    // nothing is delivered and the document is not changed. The page is JobRequest::address, or
    // the feed's WebServer and WebPath when that is empty.
    FindHeadlines,
};

// Everything a job needs, copied from the document, the store and the front end when it starts.
struct JobRequest {
    JobCommand command = JobCommand::UpdateSignNow;
    std::string line;  // SendLine's sign line
    // FindHeadlines' page as the user gave it (UTF-8, "http://" or "https://"); empty: the feed's.
    std::string address;
    settings::FeedFieldValues feed;  // the feed fields, Windows-1252 texts
    settings::CommSettings comm;
    // COMn's device (the port map resolved by the front end); empty: resolved when the job
    // starts its delivery.
    std::string devicePath;
    // The port map COMn is resolved with; nothing: the per-user store's, read once as the job
    // starts.
    std::optional<settings::CPortMap> ports;
    bool headlineCleanup = true;
    headlines::TimeLimits fetchLimits;
    // Certificate authorities to trust instead of the system's, in a PEM file (tests).
    std::string caFile;
    std::chrono::milliseconds serialSlack = link::kSerialDeadlineSlack;
    // How long a delivery waits for a port that another program holds.
    std::chrono::milliseconds portWait = link::kPortWaitLimit;
    // The clock of the line's time stamp; empty: the system's.
    std::function<std::time_t()> clock;
};

// The feed fields and communication settings of `doc`, for a job of `command`.
JobRequest RequestFrom(const settings::CTickerluxDoc& doc, JobCommand command);

enum class JobStage {
    Downloading,     // done = bytes of the page so far (total 0: not known)
    WaitingForPort,  // another program holds the port; `port` names it ("COM3 (/dev/ttyS2)")
    Sending,         // done of total bytes of transmission number `transmission` (1, 2, 3)
    Clearing,        // the clear transmission: done of total bytes
    Finishing,       // a stop was asked; the job ends after the step under way
};

struct JobProgress {
    JobStage stage = JobStage::Downloading;
    long long done = 0;
    long long total = 0;
    int transmission = 0;
    std::string port;
};

struct JobOutcome {
    JobCommand command = JobCommand::UpdateSignNow;
    // A stop ended the job early: a download was abandoned and nothing was sent, or a delivery
    // was cut by Abandon().
    bool stopped = false;
    CommandOutcome steps;  // each failed step, in order
    // The page downloaded (the document's SourceText after the command; empty after a failed
    // download) and the sign line; for commands that download.
    bool pageFetched = false;
    std::string page;
    std::string line;
    // The line settings a serial delivery used where they differ from the request's (a speed
    // below 1 taken as 9600, data bits other than 7 or 8 as 7): the document takes them.
    std::optional<link::LineUsed> lineUsed;
    // FindHeadlines: the page searched, as WebServer and WebPath store it (empty when the address
    // could not be read: Step::Fetch then fails as BadAddress), and the ways found there, the
    // usable ones best first, then the announced feeds that were left out (each saying why).
    // A failed or stopped download finds none. Their first headlines are as the sign shows them.
    headlines::StoredAddress searched;
    std::vector<headlines::HeadlineCandidate> candidates;
    // What the user must see, in order: the message boxes (the fetcher's, USB's own) in
    // Windows-1252, then nothing else; failures are in `steps`.
    std::vector<std::string> messages;
};

// What a front end does with an outcome on its own thread: the page into SourceText (for the
// commands that download) and the line settings used into the communication settings; then it
// refreshes its views.
void ApplyOutcome(const JobOutcome& outcome, settings::CTickerluxDoc& doc);

using ProgressCallback = std::function<void(const JobProgress&)>;

// The stop requests of one job, asked from any thread.
class CJobControl {
public:
    // Abandons a download at once (nothing is then sent); a delivery under way finishes the
    // command's remaining transmissions, so the sign always gets a whole update.
    void RequestStop() { m_stop = true; }
    // Also cuts a delivery at once (output discarded): for a window that is closed twice.
    void Abandon()
    {
        m_stop = true;
        m_abandon = true;
    }
    bool StopRequested() const { return m_stop; }
    bool AbandonRequested() const { return m_abandon; }
    void Reset()
    {
        m_stop = false;
        m_abandon = false;
    }

private:
    std::atomic<bool> m_stop = false;
    std::atomic<bool> m_abandon = false;
};

// Runs `request` on the calling thread (the CLI runs its commands in place). `progress` hears
// each stage as it comes.
JobOutcome RunJob(const JobRequest& request, const CJobControl& control,
                  const ProgressCallback& progress);

// One job at a time on a worker thread. Callbacks come on the worker; a front end marshals
// them to its own thread.
class CJobRunner {
public:
    using FinishedCallback = std::function<void(const JobOutcome&)>;

    CJobRunner() = default;
    // Abandons a running job and waits for it.
    ~CJobRunner();
    CJobRunner(const CJobRunner&) = delete;
    CJobRunner& operator=(const CJobRunner&) = delete;

    // Starts `request` on a worker; false, with nothing done, while a job runs (a timer tick
    // during a job is skipped). `finished` gets the outcome on the worker as its last act, once
    // the runner is free for the next job; it must not wait for the thread that starts jobs.
    bool Start(JobRequest request, ProgressCallback progress = {},
               FinishedCallback finished = {});
    void RequestStop() { m_control.RequestStop(); }
    void Abandon() { m_control.Abandon(); }
    bool Busy() const;
    // Waits until no job runs and returns the last job's outcome (nothing before the first).
    std::optional<JobOutcome> Wait();

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_busy = false;
    std::optional<JobOutcome> m_last;
    CJobControl m_control;
    std::thread m_worker;
};

} // namespace tickerlux::engine
