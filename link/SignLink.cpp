#include "headlines/TickerluxEngine.h"
#include "headlines/UserInterface.h"
#include "link/SerialPort.h"
#include "link/SignLineChoices.h"
#include "settings/PortMap.h"
#include "settings/TickerluxDoc.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

constexpr const char* kUsbConnection = "usb - betabrite prism";
constexpr std::uint32_t kQueueSize = 10000;
constexpr std::uint32_t kEventTxEmpty = 0x0004;

// "COM3 (/dev/pts/4): open: Device or resource busy"
std::string DescribeFailure(int port, const CSerialException& failure)
{
    std::array<char, 256> text{};
    if (!failure.GetErrorMessage(text.data(), text.size()))
        std::snprintf(text.data(), text.size(), "error %u", failure.m_nErrorCode);
    return "COM" + std::to_string(port) + " (" + portmap::DevicePathForComPort(port) +
           "): " + failure.m_operation + ": " + text.data();
}

// The sign link's serial delivery: the port's setup as the sign expects it, one whole write, and
// close. Nothing after the write discards output, which would drop the transmission's tail.
void DeliverOverSerial(CTickerluxDoc& doc, IUserInterface& ui, int port, const unsigned char* data,
                       std::uint32_t length)
{
    SerialPortConfig config;
    CSerialPort::QueryDefaultConfig(port, config);
    // Corrected in the document too, so later deliveries and the settings dialog see them.
    if (doc.BaudRate < 1)
        doc.BaudRate = 9600;
    if (doc.ByteSize != 7 && doc.ByteSize != 8)
        doc.ByteSize = 7;
    const auto baudRate = static_cast<std::uint32_t>(doc.BaudRate);

    CSerialPort serial;
    serial.SetProgressHandler(
        [&ui](long long sent, long long total) { ui.DeliveryProgress(sent, total); });
    serial.Open(port, baudRate, ParityChoice(doc.Parity),
                static_cast<std::uint8_t>(doc.ByteSize & 0xFF), StopBitsChoice(doc.StopBits),
                flowNone, false);
    serial.Attach(serial.Detach(), false);

    std::uint32_t modemStatus = 0;
    serial.QueryModemLines(modemStatus);
    SerialLineState dcb;
    serial.GetLineState(dcb);
    dcb.BaudRate = baudRate;
    serial.SetLineState(dcb);
    std::uint32_t lineErrors = 0;
    serial.ReadLineErrors(lineErrors);
    serial.BeginBreak();
    serial.EndBreak();
    SerialLineStatus status;
    serial.ReadLineStatus(status);
    serial.InputQueueLength();
    SerialTimeouts timeouts;
    serial.GetTimeouts(timeouts);
    serial.SetQueueSizes(kQueueSize, kQueueSize);
    serial.GetPortConfig(config);
    config.dcb.BaudRate = baudRate;
    serial.SetPortConfig(config);
    serial.SetNoWriteTimeouts();
    serial.SetNonBlockingReads();

    serial.Write(data, length);

    std::uint32_t eventMask = 0;
    serial.GetEventMask(eventMask);
    serial.SetEventMask(kEventTxEmpty);
    serial.AbortPendingWrites();
    serial.SetNonBlockingTimeouts();
    serial.DiscardInput();
    serial.FlushOutput();
    serial.Close();
}

} // namespace

SerialParity ParityChoice(const std::string& parity)
{
    if (parity == "none")
        return parityNone;
    if (parity == "odd")
        return parityOdd;
    return parityEven;
}

SerialStopBits StopBitsChoice(int stopBits)
{
    return stopBits == 2 ? stopTwo : stopOne;
}

void CTickerluxEngine::SendToSign(int port, const unsigned char* data, int length)
{
    if (m_deliveryHook) {
        m_deliveryHook(port, data, length);
        return;
    }
    if (m_doc.Connection == kUsbConnection) {
        const bool delivered = SendViaUsb(data, length);
        m_ui.PumpMessages(10);
        if (!delivered)
            m_ui.DeliveryFailed("USB sign: the transmission was not delivered");
        return;
    }
    // Only this call uses the corrected port; the document keeps its own value.
    if (port < 1)
        port = 1;
    try {
        DeliverOverSerial(m_doc, m_ui, port, data,
                          static_cast<std::uint32_t>(length < 0 ? 0 : length));
    } catch (const CSerialException& failure) {
        // The desktop program stays silent here; a front end that reports failures gets the
        // system's reason.
        m_ui.DeliveryFailed(DescribeFailure(port, failure));
    }
}
