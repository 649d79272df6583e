#include "link/Delivery.h"

#include "link/Transports.h"

namespace tickerlux::link {

namespace {

// A speed below 1 is taken as 9600, data bits other than 7 or 8 as 7.
settings::CommSettings SerialLine(settings::CommSettings settings)
{
    if (settings.BaudRate < 1)
        settings.BaudRate = settings::kClassicBaudRate;
    if (settings.ByteSize != 7 && settings.ByteSize != 8)
        settings.ByteSize = settings::kClassicByteSize;
    return settings;
}

} // namespace

std::string SignPort::Name() const
{
    return "COM" + std::to_string(com) + " (" + devicePath + ")";
}

CSignConnection::CSignConnection(const settings::CommSettings& settings, const SignPort& port,
                                 const ConnectionOptions& options)
    : m_usb(settings.IsUsb())
{
    if (m_usb) {
        m_transport = OpenUsb(m_opening);
        return;
    }
    const settings::CommSettings line = SerialLine(settings);
    m_transport = OpenSerial(line, port, options, m_opening);
    const base::FailureKind kind = m_opening.failure.kind;
    const bool portFound = kind != base::FailureKind::PortMissing &&
                           kind != base::FailureKind::Permission;
    if (portFound && (line.BaudRate != settings.BaudRate || line.ByteSize != settings.ByteSize))
        m_lineUsed = LineUsed{line.BaudRate, line.ByteSize};
}

CSignConnection::CSignConnection(UsbSign) : m_usb(true), m_transport(OpenUsb(m_opening)) {}

CSignConnection::~CSignConnection()
{
    Close();
}

DeliveryResult CSignConnection::Send(const unsigned char* data, std::size_t length,
                                     const Progress& progress)
{
    if (m_opening.failure.Failed() || !m_transport)
        return {m_opening.failure, {}};
    return m_transport->Send(data, length, progress);
}

DeliveryResult CSignConnection::Close()
{
    if (!m_transport)
        return {};
    DeliveryResult closed = m_transport->Close();
    m_transport.reset();
    return closed;
}

} // namespace tickerlux::link
