// The seam between the web front end and the core as it is today: the document, the engine, the
// communication settings store. Commands run as jobs: a worker thread takes a copy of the
// document's values, runs a CTickerluxEngine of its own on it, and gives back the page text and
// the sign line when it ends. One job at a time.
#include "web/EngineBackend.h"

#include "engine/TickerluxEngine.h"
#include "engine/UpdateInterval.h"
#include "engine/UserInterface.h"
#include "settings/DocFileMessages.h"
#include "settings/FeedFieldsJson.h"
#include "base/Decimal.h"
#include "base/Win1252.h"
#include "settings/TickerluxDoc.h"
#include "settings/UserSettings.h"

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

namespace tickerlux::web {
namespace {

using nlohmann::json;
using base::Failure;
using engine::CommandOutcome;
using engine::CTickerluxEngine;
using engine::IUserInterface;
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

class CEngineBackend;

// What a job's engine shows the user, kept for the page: message boxes and failure causes in
// UTF-8, the progress of a delivery, and the stop request.
class CJobUserInterface : public IUserInterface {
public:
    CJobUserInterface(std::mutex& mutex, JobStatus& status, const std::atomic<bool>& stop)
        : m_mutex(mutex), m_status(status), m_stop(stop)
    {
    }
    void MessageBox(const std::string& text) override { Add(win1252::ToUtf8(text)); }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    void PumpMessages(int /*maxMessages*/) override {}
    void DownloadFailed(const Failure& failure) override
    {
        std::string line = "cause: " + std::string(base::Describe(failure.kind));
        if (!failure.systemText.empty())
            line += " (" + failure.systemText + ")";
        Add(line);
    }
    // A failure's text is UTF-8 already (device paths, the system's words).
    void DeliveryFailed(const Failure& failure) override
    {
        Add("The sign could not be reached: " + failure.Text());
    }
    bool StopRequested() override { return m_stop; }
    void DeliveryProgress(long long sent, long long total) override
    {
        const std::lock_guard lock(m_mutex);
        m_status.sent = sent;
        m_status.total = total;
    }

    // A UTF-8 line for the page.
    void Add(std::string message)
    {
        const std::lock_guard lock(m_mutex);
        m_status.messages.push_back(std::move(message));
    }

    std::mutex& m_mutex;
    JobStatus& m_status;
    const std::atomic<bool>& m_stop;
};

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
        if (edited == static_cast<const settings::FeedFieldValues&>(m_doc))
            return {};
        static_cast<settings::FeedFieldValues&>(m_doc) = edited;
        m_doc.SetModifiedFlag(true);
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
        std::unique_lock lock(m_mutex);
        if (m_job.running)
            return false;
        // The last worker has set its outcome and is ending: it needs the lock no more.
        if (m_worker.joinable())
            m_worker.join();
        m_stop = false;
        JobStatus next;
        next.number = m_job.number + 1;
        next.running = true;
        next.command = command;
        m_job = next;
        m_worker = std::thread(&CEngineBackend::RunJob, this, command, m_doc, m_cleanup);
        return true;
    }

    void Stop() override
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
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
        if (m_worker.joinable())
            m_worker.join();
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

    BackendResult FindHeadlines(const std::string& /*address*/, json& /*found*/) override
    {
        return {false, "Find Headlines is not available yet."};
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
    void RunJob(Command command, CTickerluxDoc doc, bool cleanup)
    {
        CJobUserInterface ui(m_mutex, m_job, m_stop);
        CTickerluxEngine engine(doc, ui);
        engine.SetHeadlineCleanup(cleanup);
        // The port map in force as the job starts, read once for it; unreadable, COMn is
        // /dev/ttyS(n-1) and the job says why.
        const settings::LoadedUserSettings stored = settings::LoadUserSettings();
        if (stored.failure.Failed())
            ui.Add("The port map could not be read: " + stored.failure.Text() + ".");
        engine.SetPortMap(stored.settings.Ports);
        CommandOutcome outcome;
        switch (command) {
        case Command::UpdateSignNow: outcome = engine.OnUpdateSignNow(); break;
        case Command::ClearSign: outcome = engine.OnClearSign(); break;
        case Command::UpdateSourceOnly: outcome = engine.OnUpdateSourceOnly(); break;
        }
        const std::lock_guard lock(m_mutex);
        if (command != Command::ClearSign) {
            m_doc.SourceText = doc.SourceText;
            m_signLine = engine.SignLine();
        }
        m_job.running = false;
        m_job.succeeded = outcome.Succeeded();
        m_finished.notify_all();
    }

    mutable std::mutex m_mutex;
    std::condition_variable m_finished;
    CTickerluxDoc m_doc;
    bool m_commStored = false;
    bool m_cleanup = true;
    std::string m_signLine;
    JobStatus m_job;
    std::atomic<bool> m_stop = false;
    std::thread m_worker;
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
