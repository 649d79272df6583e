#include "engine/TickerluxEngine.h"

#include "engine/UserInterface.h"
#include "settings/TickerluxDoc.h"

namespace tickerlux::engine {

namespace {

bool SameFailure(const base::Failure& a, const base::Failure& b)
{
    return a.kind == b.kind && a.where == b.where && a.systemText == b.systemText;
}

} // namespace

link::CSignConnection& CTickerluxEngine::Connection(const link::SignPort& port)
{
    if (m_connection)
        return *m_connection;
    link::ConnectionOptions options;
    options.serialSlack = m_serialSlack;
    options.portWait = m_portWait;
    options.waiting = [this](const std::string& name) { m_ui.WaitingForPort(name); };
    options.abandon = [this] { return m_ui.AbandonRequested(); };
    m_connection = std::make_unique<link::CSignConnection>(m_doc.Comm, port, options);
    m_problems = m_connection->Opening().problems;
    // The speed and data bits a serial delivery took instead of the document's go into the
    // document, so later deliveries and the settings dialog see them.
    if (const auto& used = m_connection->LineUsedInstead()) {
        m_doc.Comm.BaudRate = used->baudRate;
        m_doc.Comm.ByteSize = used->byteSize;
    }
    return *m_connection;
}

base::Failure CTickerluxEngine::SendToSign(const link::SignPort& port,
                                           const Transmission& transmission)
{
    if (m_deliveryHook) {
        m_deliveryHook(port, transmission);
        return {};
    }
    base::Failure failure;
    if (m_ui.AbandonRequested()) {
        failure = {base::FailureKind::Abandoned, port.Name(), "the delivery was abandoned"};
    } else {
        link::CSignConnection& connection = Connection(port);
        m_ui.DeliveryStarted(static_cast<long long>(transmission.size()));
        failure = connection.Send(transmission.data(), transmission.size(), Progress()).failure;
    }
    if (failure.Failed()) {
        bool told = false;
        for (const base::Failure& earlier : m_failures)
            told = told || SameFailure(earlier, failure);
        if (!told)
            m_failures.push_back(failure);
    }
    // Outside a command the connection lives for this transmission alone.
    if (!m_commandPort) {
        const base::Failure closed = CloseConnection();
        return failure.Failed() ? failure : closed;
    }
    return failure;
}

base::Failure CTickerluxEngine::CloseConnection()
{
    base::Failure failure;
    bool usb = false;
    if (m_connection) {
        usb = m_connection->IsUsb();
        link::DeliveryResult closed = m_connection->Close();
        m_connection.reset();
        m_problems.insert(m_problems.end(), closed.problems.begin(), closed.problems.end());
        failure = closed.failure;
        if (failure.Failed())
            m_failures.push_back(failure);
    }
    // What the user is told comes once the connection is closed, so no message box holds the
    // sign: USB's problems, the pump, then each failure once. The desktop program stays silent
    // on a failure; the CLI prints it.
    ShowUsbProblems(m_problems);
    m_problems.clear();
    if (usb)
        m_ui.PumpMessages(10);
    for (const base::Failure& told : m_failures)
        m_ui.DeliveryFailed(told);
    m_failures.clear();
    return failure;
}

link::Progress CTickerluxEngine::Progress()
{
    return [this](long long sent, long long total) { m_ui.DeliveryProgress(sent, total); };
}

} // namespace tickerlux::engine
