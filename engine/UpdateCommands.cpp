#include "engine/TickerluxEngine.h"

#include "engine/UserInterface.h"
#include "settings/TickerluxDoc.h"

namespace tickerlux::engine {

// Marks the engine busy and keeps the wait cursor on for the life of one command. A command
// started while another runs (a timer tick or button press dispatched inside a message box or
// the USB pump) gets a scope that did not enter, and returns without touching anything.
class CTickerluxEngine::BusyScope {
public:
    explicit BusyScope(CTickerluxEngine& engine) : m_engine(engine), m_entered(!engine.m_busy)
    {
        if (!m_entered)
            return;
        m_engine.m_busy = true;
        m_engine.m_ui.BeginWaitCursor();
    }
    ~BusyScope()
    {
        if (!m_entered)
            return;
        m_engine.m_ui.EndWaitCursor();
        m_engine.m_busy = false;
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

    bool Entered() const { return m_entered; }

private:
    CTickerluxEngine& m_engine;
    bool m_entered;
};

// Holds the sign for one command's deliveries: the port is resolved once, the connection opened
// at the first transmission and closed after the last (also when an exception leaves).
class CTickerluxEngine::SignScope {
public:
    explicit SignScope(CTickerluxEngine& engine) : m_engine(engine)
    {
        m_engine.m_commandPort = m_engine.GetSignPort();
    }
    ~SignScope()
    {
        if (m_engine.m_commandPort)
            Close();
    }
    SignScope(const SignScope&) = delete;
    SignScope& operator=(const SignScope&) = delete;

    base::Failure Close()
    {
        m_engine.m_commandPort.reset();
        return m_engine.CloseConnection();
    }

private:
    CTickerluxEngine& m_engine;
};

CommandOutcome CTickerluxEngine::OnUpdateSignNow()
{
    BusyScope busy(*this);
    if (!busy.Entered())
        return CommandOutcome::Dropped();
    CommandOutcome outcome;
    // A failed download still sends the (empty) line, so the sign goes blank; one abandoned
    // because the program is stopping sends nothing.
    const base::Failure fetched = BuildSignLine();
    outcome.Add(Step::Fetch, fetched);
    if (fetched.kind != base::FailureKind::Abandoned)
        DeliverSignLine(outcome);
    return outcome;
}

CommandOutcome CTickerluxEngine::OnSendLine(const std::string& line)
{
    BusyScope busy(*this);
    if (!busy.Entered())
        return CommandOutcome::Dropped();
    CommandOutcome outcome;
    m_signLine = line;
    DeliverSignLine(outcome);
    return outcome;
}

void CTickerluxEngine::DeliverSignLine(CommandOutcome& outcome)
{
    m_transmission = BuildTextTransmission(m_signLine);
    SignScope sign(*this);
    outcome.Add(Step::Delivery, SendMemoryConfig(m_transmission.size()));
    outcome.Add(Step::Delivery, SendToSign(GetSignPort(), m_transmission));
    outcome.Add(Step::Delivery, SendRunSequence());
    outcome.Add(Step::Delivery, sign.Close());
    m_doc.UpdateAllViews();
}

CommandOutcome CTickerluxEngine::OnClearSign()
{
    BusyScope busy(*this);
    if (!busy.Entered())
        return CommandOutcome::Dropped();
    CommandOutcome outcome;
    m_transmission = BuildClearTransmission();
    SignScope sign(*this);
    outcome.Add(Step::Delivery, SendToSign(GetSignPort(), m_transmission));
    outcome.Add(Step::Delivery, sign.Close());
    m_doc.UpdateAllViews();
    return outcome;
}

CommandOutcome CTickerluxEngine::OnUpdateSourceOnly()
{
    BusyScope busy(*this);
    if (!busy.Entered())
        return CommandOutcome::Dropped();
    CommandOutcome outcome;
    outcome.Add(Step::Fetch, BuildSignLine());
    m_doc.UpdateAllViews();
    return outcome;
}

} // namespace tickerlux::engine
