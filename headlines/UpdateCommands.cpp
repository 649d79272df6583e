#include "headlines/TickerluxEngine.h"

#include "headlines/UserInterface.h"
#include "settings/TickerluxDoc.h"

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

bool CTickerluxEngine::OnUpdateSignNow()
{
    BusyScope busy(*this);
    if (!busy.Entered())
        return false;
    BuildSignLine();
    DeliverSignLine();
    return true;
}

bool CTickerluxEngine::OnSendLine(const std::string& line)
{
    BusyScope busy(*this);
    if (!busy.Entered())
        return false;
    m_signLine = line;
    DeliverSignLine();
    return true;
}

void CTickerluxEngine::DeliverSignLine()
{
    BuildTextTransmission(m_transmission.get(), m_transmissionLength, m_signLine.c_str());
    SendMemoryConfig(m_transmissionLength);
    SendToSign(GetSignPort(), m_transmission.get(), m_transmissionLength);
    SendRunSequence();
    m_doc.UpdateAllViews();
}

bool CTickerluxEngine::OnClearSign()
{
    BusyScope busy(*this);
    if (!busy.Entered())
        return false;
    BuildClearTransmission(m_transmission.get(), m_transmissionLength);
    SendToSign(GetSignPort(), m_transmission.get(), m_transmissionLength);
    m_doc.UpdateAllViews();
    return true;
}

bool CTickerluxEngine::OnUpdateSourceOnly()
{
    BusyScope busy(*this);
    if (!busy.Entered())
        return false;
    BuildSignLine();
    m_doc.UpdateAllViews();
    return true;
}
