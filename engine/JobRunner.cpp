#include "engine/JobRunner.h"

#include "engine/FindHeadlines.h"
#include "engine/TickerluxEngine.h"
#include "engine/UserInterface.h"
#include "base/Win1252.h"
#include "settings/TickerluxDoc.h"
#include "settings/UserSettings.h"

namespace tickerlux::engine {

namespace {

bool Downloads(JobCommand command)
{
    return command == JobCommand::UpdateSignNow || command == JobCommand::UpdateSourceOnly;
}

bool Delivers(JobCommand command)
{
    return command != JobCommand::UpdateSourceOnly && command != JobCommand::FindHeadlines;
}

// A job's front end: message boxes are kept for the outcome, stages and progress go to the
// job's callback, the stop requests come from its control; no cursor, no pump.
class CJobUserInterface : public IUserInterface {
public:
    CJobUserInterface(JobCommand command, const CJobControl& control,
                      const ProgressCallback& progress, std::vector<std::string>& messages)
        : m_command(command), m_control(control), m_progress(progress), m_messages(messages)
    {
    }

    void MessageBox(const std::string& text) override { m_messages.push_back(text); }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    void PumpMessages(int /*maxMessages*/) override {}
    bool StopRequested() override { return Stopping(); }
    bool AbandonRequested() override { return Stopping() && m_control.AbandonRequested(); }

    void DownloadProgress(long long received) override
    {
        if (!Stopping())
            Report({JobStage::Downloading, received, 0, 0, {}});
    }
    void DeliveryStarted(long long total) override
    {
        ++m_transmission;
        DeliveryProgress(0, total);
    }
    void DeliveryProgress(long long sent, long long total) override
    {
        Stopping();
        const JobStage stage =
            m_command == JobCommand::ClearSign ? JobStage::Clearing : JobStage::Sending;
        Report({stage, sent, total, m_transmission, {}});
    }
    void WaitingForPort(const std::string& port) override
    {
        Report({JobStage::WaitingForPort, 0, 0, m_transmission + 1, port});
    }

private:
    // Whether a stop was asked; the first time it is seen, the job says it is finishing.
    bool Stopping()
    {
        if (!m_control.StopRequested())
            return false;
        if (!m_finishingTold) {
            m_finishingTold = true;
            Report({JobStage::Finishing, 0, 0, m_transmission, {}});
        }
        return true;
    }
    void Report(const JobProgress& progress) const
    {
        if (m_progress)
            m_progress(progress);
    }

    JobCommand m_command;
    const CJobControl& m_control;
    const ProgressCallback& m_progress;
    std::vector<std::string>& m_messages;
    int m_transmission = 0;
    bool m_finishingTold = false;
};

} // namespace

JobRequest RequestFrom(const settings::CTickerluxDoc& doc, JobCommand command)
{
    JobRequest request;
    request.command = command;
    request.feed = doc;
    request.comm = doc.Comm;
    return request;
}

void ApplyOutcome(const JobOutcome& outcome, settings::CTickerluxDoc& doc)
{
    if (outcome.pageFetched)
        doc.SourceText = outcome.page;
    if (outcome.lineUsed) {
        doc.Comm.BaudRate = outcome.lineUsed->baudRate;
        doc.Comm.ByteSize = outcome.lineUsed->byteSize;
    }
}

JobOutcome RunJob(const JobRequest& request, const CJobControl& control,
                  const ProgressCallback& progress)
{
    // A document of the job's own, which no view observes.
    settings::CTickerluxDoc doc;
    static_cast<settings::FeedFieldValues&>(doc) = request.feed;
    doc.Comm = request.comm;

    JobOutcome outcome;
    outcome.command = request.command;
    CJobUserInterface ui(request.command, control, progress, outcome.messages);
    CTickerluxEngine engine(doc, ui);
    engine.SetHeadlineCleanup(request.headlineCleanup);
    engine.SetFetchTimeLimits(request.fetchLimits);
    engine.SetCertificateAuthorities(request.caFile);
    engine.SetSerialDeadlineSlack(request.serialSlack);
    engine.SetPortWaitLimit(request.portWait);
    engine.SetDevicePath(request.devicePath);
    if (request.ports) {
        engine.SetPortMap(*request.ports);
    } else if (request.devicePath.empty() && Delivers(request.command)) {
        // Unreadable, COMn is /dev/ttyS(n-1) and the job says why.
        const settings::LoadedUserSettings stored = settings::LoadUserSettings();
        if (stored.failure.Failed())
            outcome.messages.push_back(base::win1252::FromUtf8(
                "The port map could not be read: " + stored.failure.Text() + "."));
        engine.SetPortMap(stored.settings.Ports);
    }
    if (request.clock)
        engine.SetClock(request.clock);

    switch (request.command) {
    case JobCommand::UpdateSignNow:
        outcome.steps = engine.OnUpdateSignNow();
        break;
    case JobCommand::ClearSign:
        outcome.steps = engine.OnClearSign();
        break;
    case JobCommand::UpdateSourceOnly:
        outcome.steps = engine.OnUpdateSourceOnly();
        break;
    case JobCommand::SendLine:
        outcome.steps = engine.OnSendLine(request.line);
        break;
    case JobCommand::FindHeadlines:
        FindHeadlines(request, ui, outcome);
        break;
    }
    for (const StepFailure& failed : outcome.steps.Failures())
        outcome.stopped = outcome.stopped || failed.failure.kind == base::FailureKind::Abandoned;
    outcome.pageFetched = Downloads(request.command);
    outcome.page = doc.SourceText;
    outcome.line = engine.SignLine();
    if (doc.Comm.BaudRate != request.comm.BaudRate || doc.Comm.ByteSize != request.comm.ByteSize)
        outcome.lineUsed = link::LineUsed{doc.Comm.BaudRate, doc.Comm.ByteSize};
    return outcome;
}

CJobRunner::~CJobRunner()
{
    Abandon();
    if (m_worker.joinable())
        m_worker.join();
}

bool CJobRunner::Start(JobRequest request, ProgressCallback progress, FinishedCallback finished)
{
    const std::lock_guard lock(m_mutex);
    if (m_busy)
        return false;
    // The last worker has its outcome set; at most its `finished` callback is still running.
    if (m_worker.joinable())
        m_worker.join();
    m_control.Reset();
    m_busy = true;
    m_worker = std::thread([this, request = std::move(request), progress = std::move(progress),
                            finished = std::move(finished)] {
        JobOutcome outcome = RunJob(request, m_control, progress);
        {
            const std::lock_guard done(m_mutex);
            m_last = outcome;
            m_busy = false;
        }
        m_done.notify_all();
        if (finished)
            finished(outcome);
    });
    return true;
}

bool CJobRunner::Busy() const
{
    const std::lock_guard lock(m_mutex);
    return m_busy;
}

std::optional<JobOutcome> CJobRunner::Wait()
{
    std::unique_lock lock(m_mutex);
    m_done.wait(lock, [this] { return !m_busy; });
    return m_last;
}

} // namespace tickerlux::engine
