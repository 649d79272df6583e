// The seam between the web front end and the core as it is today: the document, the engine, the
// communication settings store. Commands run as jobs: a worker thread takes a copy of the
// document's values on the engine's job runner, and gives back the page text and the sign line
// when it ends. One job at a time.
#include "web/EngineBackend.h"

#include "web/FoundHeadlines.h"

#include "engine/HeadlineChoice.h"
#include "engine/JobRunner.h"
#include "engine/UpdateInterval.h"
#include "settings/DocFileMessages.h"
#include "settings/FeedFieldsJson.h"
#include "base/Decimal.h"
#include "settings/TickerluxDoc.h"
#include "settings/UserSettings.h"
#include "base/Win1252.h"
#include "headlines/WebAddress.h"

#include <algorithm>
#include <condition_variable>
#include <filesystem>
#include <mutex>

namespace tickerlux::web {
namespace {

using nlohmann::json;
using base::Failure;
using base::FailureKind;
using engine::CJobRunner;
using engine::JobCommand;
using engine::JobOutcome;
using engine::JobProgress;
using engine::JobRequest;
using engine::JobStage;
using engine::Step;
using engine::StepFailure;
using settings::CommSettings;
using settings::CTickerluxDoc;
namespace win1252 = base::win1252;

// A whole number given as a JSON number or, as a list box with typing gives it, as text.
int DecimalOf(const json& value)
{
    if (value.is_number_integer())
        return value.get<int>();
    if (value.is_boolean())
        return value.get<bool>() ? 1 : 0;
    return value.is_string() ? base::LeadingDecimal(value.get<std::string>()) : 0;
}

// The lines the page shows after a job: the message boxes, then each failure's cause once.
std::vector<std::string> JobMessages(const JobOutcome& outcome)
{
    std::vector<std::string> lines;
    for (const std::string& message : outcome.messages)
        lines.push_back(win1252::ToUtf8(message));
    for (const StepFailure& failed : outcome.steps.Failures()) {
        std::string line;
        if (failed.failure.kind == FailureKind::Abandoned)
            continue;
        if (failed.step == Step::Fetch) {
            line = "cause: " + failed.failure.Cause();
        } else {
            line = "The sign could not be reached: " + failed.failure.Text();
        }
        line = win1252::ToUtf8(line);
        if (std::find(lines.begin(), lines.end(), line) == lines.end())
            lines.push_back(line);
    }
    return lines;
}

class CEngineBackend : public ISignBackend {
public:
    explicit CEngineBackend(const settings::UserSettings& stored)
        : m_commStored(stored.Comm.HasConnection()), m_cleanup(stored.HeadlineCleanup)
    {
        m_doc.Comm = stored.Comm;
    }
    ~CEngineBackend() override
    {
        Stop();
        WaitForJob();
    }
    CEngineBackend(const CEngineBackend&) = delete;
    CEngineBackend& operator=(const CEngineBackend&) = delete;

    bool Open(const std::string& path, std::string& problem)
    {
        std::error_code ignored;
        if (std::filesystem::status(path, ignored).type() == std::filesystem::file_type::not_found) {
            m_doc.SetPathName(path);
        } else if (const Failure opened = m_doc.OnOpenDocument(path); opened.Failed()) {
            problem = settings::DocFileMessage(opened);
            return false;
        }
        // As the form's first display: a feed that asks for auto-update gets its interval
        // checked and written back as a number, without marking the document.
        if (m_doc.AutoUpdate)
            m_doc.UpdateMinutes = std::to_string(engine::interval::GetUpdateMinutes(m_doc.UpdateMinutes).minutes);
        return true;
    }

    json State() const override
    {
        const std::lock_guard lock(m_mutex);
        // The title and path are file names, UTF-8 already.
        return {{"fields", settings::FeedFieldsToJson(m_doc)},
                {"title", m_doc.GetTitle()},
                {"path", m_doc.GetPathName()},
                {"modified", m_doc.IsModified()},
                {"source", win1252::ToUtf8(m_doc.SourceText)}};
    }

    BackendResult ApplyFields(const json& fields) override
    {
        settings::FeedFieldValues edited;
        {
            const std::lock_guard lock(m_mutex);
            edited = m_doc;
        }
        if (const Failure refused = settings::FeedFieldsFromJson(fields, edited); refused.Failed())
            return {false, refused.where.empty() ? "The form's values are not an object."
                                                 : "The field \"" + refused.where + "\" " +
                                                       refused.systemText + "."};
        const std::lock_guard lock(m_mutex);
        const bool switchedOn = edited.AutoUpdate && !m_doc.AutoUpdate;
        const bool minutesEdited = edited.UpdateMinutes != m_doc.UpdateMinutes;
        // The interval is checked and clamped whenever it is typed, and written as a number
        // when auto-update is switched on (an empty one then means 60).
        if (minutesEdited && !edited.UpdateMinutes.empty())
            engine::interval::GetUpdateMinutes(edited.UpdateMinutes);
        if (switchedOn)
            edited.UpdateMinutes = std::to_string(engine::interval::GetUpdateMinutes(edited.UpdateMinutes).minutes);
        Edit(edited);
        return {};
    }

    BackendResult Save() override
    {
        const std::lock_guard lock(m_mutex);
        const Failure saved = m_doc.OnSaveDocument(m_doc.GetPathName());
        return {!saved.Failed(), saved.Failed() ? settings::DocFileMessage(saved) : ""};
    }

    void ClearSource() override
    {
        const std::lock_guard lock(m_mutex);
        m_doc.SourceText.clear();
        m_doc.SetModifiedFlag(true);
    }

    bool Start(Command command) override
    {
        const std::lock_guard lock(m_mutex);
        return StartJob(command, {});
    }

    void Stop() override
    {
        const std::lock_guard lock(m_mutex);
        m_runner.RequestStop();
        m_job.stopping = m_job.running;
    }

    JobStatus Job() const override
    {
        const std::lock_guard lock(m_mutex);
        return m_job;
    }

    void WaitForJob() override
    {
        std::unique_lock lock(m_mutex);
        m_finished.wait(lock, [this] { return !m_job.running; });
    }

    json Comm() const override
    {
        const std::lock_guard lock(m_mutex);
        const CommSettings& c = m_doc.Comm;
        return {{"Protocol", win1252::ToUtf8(c.Protocol)}, {"Connection", win1252::ToUtf8(c.ConnectionText())},
                {"ComPort", c.ComPort}, {"BaudRate", c.BaudRate}, {"ByteSize", c.ByteSize},
                {"Parity", settings::ParityName(c.Parity)}, {"StopBits", static_cast<int>(c.StopBits)},
                {"stored", m_commStored}};
    }

    BackendResult SetComm(const json& values, bool store) override
    {
        if (!values.is_object() || !values.value("Connection", json()).is_string())
            return {false, "Choose a connection."};
        const std::string connection = win1252::FromUtf8(values["Connection"].get<std::string>());
        const settings::ConnectionKind kind = settings::ConnectionKindOf(connection);
        if (kind == settings::ConnectionKind::None)
            return {false, "Choose a connection."};
        CommSettings chosen;
        {
            const std::lock_guard lock(m_mutex);
            chosen = m_doc.Comm;
        }
        // The dialog's rules: the kind fixes what it fixes; the classic sign takes a port, a
        // custom line takes every value from the lists.
        chosen.ChooseKind(kind);
        if (kind != settings::ConnectionKind::Usb)
            chosen.ComPort = DecimalOf(values.value("ComPort", json(chosen.ComPort)));
        if (kind == settings::ConnectionKind::CustomSerial) {
            chosen.BaudRate = DecimalOf(values.value("BaudRate", json(chosen.BaudRate)));
            chosen.ByteSize = DecimalOf(values.value("ByteSize", json(chosen.ByteSize)));
            const int stopBits =
                DecimalOf(values.value("StopBits", json(static_cast<int>(chosen.StopBits))));
            const json parityText = values.value("Parity", json());
            const settings::Parity parity =
                parityText.is_string()
                    ? settings::ParityOf(parityText.get<std::string>()).value_or(settings::Parity::Unset)
                    : settings::Parity::Unset;
            // Only the lists' own entries: a line always has a parity and stop bits here.
            if ((chosen.ByteSize != 7 && chosen.ByteSize != 8) ||
                (stopBits != 1 && stopBits != 2) ||
                (parity != settings::Parity::None && parity != settings::Parity::Even &&
                 parity != settings::Parity::Odd))
                return {false, "Choose the byte size, parity and stop bits from their lists."};
            chosen.StopBits = static_cast<settings::StopBits>(stopBits);
            chosen.Parity = parity;
        }
        if (chosen.ComPort < 1)
            chosen.ComPort = 1;
        if (store) {
            const base::Failure failure =
                settings::UpdateUserSettings([&](settings::UserSettings& stored) { stored.Comm = chosen; });
            if (failure.Failed())
                return {false, "The communication settings could not be saved: " + failure.Text() + "."};
        }
        const std::lock_guard lock(m_mutex);
        m_doc.Comm = chosen;
        m_commStored = m_commStored || store;
        return {};
    }

    bool HeadlineCleanup() const override
    {
        const std::lock_guard lock(m_mutex);
        return m_cleanup;
    }

    BackendResult SetHeadlineCleanup(bool on) override
    {
        {
            const std::lock_guard lock(m_mutex);
            m_cleanup = on;  // holds for this run even when it cannot be stored
        }
        const base::Failure failure =
            settings::UpdateUserSettings([on](settings::UserSettings& stored) { stored.HeadlineCleanup = on; });
        if (failure.Failed())
            return {false, "The Clean Up Headlines setting could not be saved: " + failure.Text() + "."};
        return {};
    }

    BackendResult StartFind(const std::string& address) override
    {
        if (!address.empty())
            if (const headlines::ParsedAddress parsed = headlines::ParseWebAddress(address);
                parsed.failure.Failed())
                return {false, AddressRefused(parsed.failure)};
        const std::lock_guard lock(m_mutex);
        if (!StartJob(Command::FindHeadlines, address))
            return {false, kBusy};
        return {};
    }

    json Found() const override
    {
        const std::lock_guard lock(m_mutex);
        if (!m_found)
            return nullptr;
        return {{"number", m_found->number},
                {"address", headlines::FullAddress(m_found->searched)},
                {"candidates", CandidatesJson(m_found->candidates)}};
    }

    BackendResult Choose(std::uint64_t number, std::size_t index) override
    {
        const std::lock_guard lock(m_mutex);
        if (!m_found || m_found->number != number)
            return {false, "Find Headlines has found other ways since; choose again."};
        if (index >= m_found->candidates.size())
            return {false, "There is no such way."};
        const headlines::HeadlineCandidate& chosen = m_found->candidates[index];
        if (!chosen.leftOutBecause.empty())
            return {false, "That feed was left out: " + win1252::ToUtf8(chosen.leftOutBecause) + "."};
        settings::FeedFieldValues values = m_doc;
        engine::ApplyCandidate(chosen, values);
        Edit(values);
        return {};
    }

    BackendResult TakeAddress(const std::string& address, bool& searching) override
    {
        searching = false;
        const headlines::ParsedAddress parsed = headlines::ParseWebAddress(address);
        if (parsed.failure.Failed())
            return {false, AddressRefused(parsed.failure)};
        const std::lock_guard lock(m_mutex);
        if (m_doc.TextBefore.empty() && m_doc.TextAfter.empty()) {
            searching = StartJob(Command::TakeAddress, address);
            return {searching, searching ? "" : kBusy};
        }
        settings::FeedFieldValues values = m_doc;
        values.WebServer = parsed.address.webServer;
        values.WebPath = parsed.address.webPath;
        Edit(values);
        return {};
    }

    PreviewLine Preview() const override
    {
        const std::lock_guard lock(m_mutex);
        return {m_signLine, m_doc.ColorIndex, m_doc.Condensed};
    }

    std::optional<int> AutoUpdateMinutes() const override
    {
        const std::lock_guard lock(m_mutex);
        if (!m_doc.AutoUpdate || m_doc.UpdateMinutes.empty())
            return std::nullopt;
        std::string text = m_doc.UpdateMinutes;
        return engine::interval::GetUpdateMinutes(text).minutes;
    }

private:
    static constexpr const char* kBusy = "A command is running already.";

    static std::string AddressRefused(const Failure& failure)
    {
        return "The address cannot be used: " + failure.systemText + ".";
    }

    static JobCommand JobCommandOf(Command command)
    {
        switch (command) {
        case Command::ClearSign: return JobCommand::ClearSign;
        case Command::UpdateSourceOnly: return JobCommand::UpdateSourceOnly;
        case Command::FindHeadlines:
        case Command::TakeAddress: return JobCommand::FindHeadlines;
        case Command::UpdateSignNow: break;
        }
        return JobCommand::UpdateSignNow;
    }

    // With m_mutex held: the document takes `values`, and is modified when they differ.
    void Edit(const settings::FeedFieldValues& values)
    {
        if (values == static_cast<const settings::FeedFieldValues&>(m_doc))
            return;
        static_cast<settings::FeedFieldValues&>(m_doc) = values;
        m_doc.SetModifiedFlag(true);
    }

    // With m_mutex held: starts `command` on a copy of the document (a search on `address`);
    // false while a job runs.
    bool StartJob(Command command, const std::string& address)
    {
        if (m_job.running)
            return false;
        JobRequest request = engine::RequestFrom(m_doc, JobCommandOf(command));
        request.headlineCleanup = m_cleanup;
        request.address = address;
        const auto progress = [this](const JobProgress& now) {
            const std::lock_guard held(m_mutex);
            if (now.stage == JobStage::Downloading)
                m_job.received = now.done;
            if (now.stage == JobStage::Sending || now.stage == JobStage::Clearing) {
                m_job.sent = now.done;
                m_job.total = now.total;
            }
        };
        if (!m_runner.Start(std::move(request), progress,
                            [this](const JobOutcome& outcome) { Finished(outcome); }))
            return false;
        JobStatus next;
        next.number = m_job.number + 1;
        next.running = true;
        next.command = command;
        m_job = next;
        return true;
    }

    // On the worker, as the job's last act: the page and the line, or what a search found, then
    // the job's end.
    void Finished(const JobOutcome& outcome)
    {
        const std::lock_guard lock(m_mutex);
        engine::ApplyOutcome(outcome, m_doc);
        if (outcome.pageFetched)
            m_signLine = outcome.line;
        m_job.succeeded = outcome.steps.Succeeded();
        std::vector<std::string> lines;
        if (outcome.command != JobCommand::FindHeadlines) {
            lines = JobMessages(outcome);
        } else {
            const bool addressAlone = m_job.command == Command::TakeAddress;
            const headlines::HeadlineCandidate* chosen = nullptr;
            if (addressAlone) {
                settings::FeedFieldValues values = m_doc;
                chosen = engine::ApplyBestFound(outcome, values);
                Edit(values);
            }
            m_found = FoundWays{m_job.number, outcome.searched, outcome.candidates};
            lines = FindMessages(outcome, addressAlone, chosen);
            m_job.succeeded = m_job.succeeded && engine::BestCandidate(outcome.candidates);
        }
        m_job.messages.insert(m_job.messages.end(), lines.begin(), lines.end());
        m_job.running = false;
        m_finished.notify_all();
    }

    // What the last search found, for the list and for a choice from it.
    struct FoundWays {
        std::uint64_t number = 0;
        headlines::StoredAddress searched;
        std::vector<headlines::HeadlineCandidate> candidates;
    };

    mutable std::mutex m_mutex;
    std::condition_variable m_finished;
    CTickerluxDoc m_doc;
    bool m_commStored = false;
    bool m_cleanup = true;
    std::string m_signLine;
    JobStatus m_job;
    std::optional<FoundWays> m_found;
    // Last, so that it ends its job before the members the job's callbacks use go.
    CJobRunner m_runner;
};

} // namespace

std::unique_ptr<ISignBackend> OpenEngineBackend(const std::string& path,
                                               const settings::UserSettings& stored,
                                               std::string& problem)
{
    auto backend = std::make_unique<CEngineBackend>(stored);
    if (!backend->Open(path, problem))
        return nullptr;
    return backend;
}

} // namespace tickerlux::web
