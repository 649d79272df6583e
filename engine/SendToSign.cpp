#include "engine/TickerluxEngine.h"

#include "engine/UserInterface.h"
#include "link/Delivery.h"
#include "settings/TickerluxDoc.h"

namespace {

// The serial delivery to `port` with the document's settings, a speed below 1 taken as 9600 and
// data bits other than 7 or 8 as 7.
CommSettings SerialSettings(const CommSettings& stored, int port)
{
    CommSettings settings = stored;
    settings.ComPort = port;
    if (settings.BaudRate < 1)
        settings.BaudRate = kClassicBaudRate;
    if (settings.ByteSize != 7 && settings.ByteSize != 8)
        settings.ByteSize = kClassicByteSize;
    return settings;
}

} // namespace

Failure CTickerluxEngine::SendOverSerial(int port, const unsigned char* data, int length)
{
    // Only this delivery uses the corrected port; the document keeps its own value.
    const CommSettings settings = SerialSettings(m_doc.Comm, port < 1 ? 1 : port);
    Failure failure = signlink::Deliver(settings, data,
                                        static_cast<std::size_t>(length < 0 ? 0 : length),
                                        Progress(), m_serialSlack)
                          .failure;
    // Once the port was found, the corrected speed and data bits go into the document too, so
    // later deliveries and the settings dialog see them.
    if (failure.kind != FailureKind::PortMissing && failure.kind != FailureKind::Permission) {
        m_doc.Comm.BaudRate = settings.BaudRate;
        m_doc.Comm.ByteSize = settings.ByteSize;
    }
    return failure;
}

Failure CTickerluxEngine::SendToSign(int port, const unsigned char* data, int length)
{
    if (m_deliveryHook) {
        m_deliveryHook(port, data, length);
        return {};
    }
    Failure failure;
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

signlink::Progress CTickerluxEngine::Progress()
{
    return [this](long long sent, long long total) { m_ui.DeliveryProgress(sent, total); };
}
