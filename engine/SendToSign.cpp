#include "engine/TickerluxEngine.h"

#include "engine/UserInterface.h"
#include "link/Delivery.h"
#include "settings/PortMap.h"
#include "settings/TickerluxDoc.h"

namespace tickerlux::engine {

namespace {

// The serial delivery to `port` with the document's settings, a speed below 1 taken as 9600 and
// data bits other than 7 or 8 as 7.
settings::CommSettings SerialSettings(const settings::CommSettings& stored, int port)
{
    settings::CommSettings settings = stored;
    settings.ComPort = port;
    if (settings.BaudRate < 1)
        settings.BaudRate = settings::kClassicBaudRate;
    if (settings.ByteSize != 7 && settings.ByteSize != 8)
        settings.ByteSize = settings::kClassicByteSize;
    return settings;
}

} // namespace

base::Failure CTickerluxEngine::SendOverSerial(int port, const unsigned char* data, int length)
{
    // Only this delivery uses the corrected port; the document keeps its own value.
    const settings::CommSettings settings = SerialSettings(m_doc.Comm, port < 1 ? 1 : port);
    const std::string device = settings::ResolvePort(m_ports, settings.ComPort);
    base::Failure failure = link::Deliver(settings, device, data,
                                        static_cast<std::size_t>(length < 0 ? 0 : length),
                                        Progress(), m_serialSlack)
                          .failure;
    // Once the port was found, the corrected speed and data bits go into the document too, so
    // later deliveries and the settings dialog see them.
    if (failure.kind != base::FailureKind::PortMissing && failure.kind != base::FailureKind::Permission) {
        m_doc.Comm.BaudRate = settings.BaudRate;
        m_doc.Comm.ByteSize = settings.ByteSize;
    }
    return failure;
}

base::Failure CTickerluxEngine::SendToSign(int port, const unsigned char* data, int length)
{
    if (m_deliveryHook) {
        m_deliveryHook(port, data, length);
        return {};
    }
    base::Failure failure;
    if (m_doc.Comm.IsUsb()) {
        failure = SendViaUsb(data, length);
        m_ui.PumpMessages(10);
    } else {
        failure = SendOverSerial(port, data, length);
    }
    // The desktop program stays silent here; the CLI prints the failure.
    if (failure.Failed())
        m_ui.DeliveryFailed(failure);
    return failure;
}

link::Progress CTickerluxEngine::Progress()
{
    return [this](long long sent, long long total) { m_ui.DeliveryProgress(sent, total); };
}

} // namespace tickerlux::engine
