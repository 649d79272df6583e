#include "link/Transports.h"

#include "link/SerialPort.h"
#include "link/SignLineChoices.h"
#include "settings/PortMap.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

namespace signlink {
namespace {

constexpr std::uint32_t kQueueSize = 10000;
constexpr std::uint32_t kEventTxEmpty = 0x0004;

// "COM3 (/dev/pts/4): open" and "Device or resource busy".
Failure DescribeFailure(int port, const CSerialException& failure)
{
    std::array<char, 256> text{};
    if (!failure.GetErrorMessage(text.data(), text.size()))
        std::snprintf(text.data(), text.size(), "error %u", failure.m_nErrorCode);
    return {FailureKindForErrno(static_cast<int>(failure.m_nErrorCode)),
            "COM" + std::to_string(port) + " (" + portmap::DevicePathForComPort(port) +
                "): " + failure.m_operation,
            text.data()};
}

// The port's setup as the sign expects it, one whole write, and close. Nothing after the write
// discards output, which would drop the transmission's tail.
void WriteToPort(const CommSettings& settings, const unsigned char* data, std::uint32_t length,
                 const Progress& progress)
{
    const int port = settings.ComPort;
    SerialPortConfig config;
    CSerialPort::QueryDefaultConfig(port, config);
    const auto baudRate = static_cast<std::uint32_t>(settings.BaudRate);

    CSerialPort serial;
    serial.SetProgressHandler(progress);
    serial.Open(port, baudRate, ParityChoice(settings.Parity),
                static_cast<std::uint8_t>(settings.ByteSize & 0xFF),
                StopBitsChoice(settings.StopBits), flowNone, false);
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

DeliveryResult DeliverOverSerial(const CommSettings& settings, const unsigned char* data,
                                 std::size_t length, const Progress& progress)
{
    try {
        WriteToPort(settings, data, static_cast<std::uint32_t>(length), progress);
    } catch (const CSerialException& failure) {
        return {DescribeFailure(settings.ComPort, failure), {}};
    }
    return {};
}

} // namespace signlink
