#include "link/SerialPort.h"

#include <cmath>

void ApplyOpenChoices(SerialLineState& dcb, std::uint32_t baudRate, SerialParity parity,
                      std::uint8_t dataBits, SerialStopBits stopBits, SerialFlowControl flow)
{
    dcb.BaudRate = baudRate;
    switch (parity) {
    case parityEven:
        dcb.Parity = SerialLineState::kEvenParity;
        break;
    case parityMark:
        dcb.Parity = SerialLineState::kMarkParity;
        break;
    case parityNone:
        dcb.Parity = SerialLineState::kNoParity;
        break;
    case parityOdd:
        dcb.Parity = SerialLineState::kOddParity;
        break;
    case paritySpace:
        dcb.Parity = SerialLineState::kSpaceParity;
        break;
    }
    dcb.ByteSize = dataBits;
    switch (stopBits) {
    case stopOne:
        dcb.StopBits = SerialLineState::kOneStopBit;
        break;
    case stopOneAndHalf:
        dcb.StopBits = SerialLineState::kOne5StopBits;
        break;
    case stopTwo:
        dcb.StopBits = SerialLineState::kTwoStopBits;
        break;
    }
    dcb.fDsrSensitivity = false;
    switch (flow) {
    case flowNone:
        dcb.fOutxCtsFlow = false;
        dcb.fOutxDsrFlow = false;
        dcb.fOutX = dcb.fInX = false;
        break;
    case flowCtsRts:
        dcb.fOutxCtsFlow = true;
        dcb.fOutxDsrFlow = false;
        dcb.fRtsControl = SerialLineState::kRtsControlHandshake;
        dcb.fOutX = dcb.fInX = false;
        break;
    case flowCtsDtr:
        dcb.fOutxCtsFlow = true;
        dcb.fOutxDsrFlow = false;
        dcb.fDtrControl = SerialLineState::kDtrControlHandshake;
        dcb.fOutX = dcb.fInX = false;
        break;
    case flowDsrRts:
        dcb.fOutxCtsFlow = false;
        dcb.fOutxDsrFlow = true;
        dcb.fRtsControl = SerialLineState::kRtsControlHandshake;
        dcb.fOutX = dcb.fInX = false;
        break;
    case flowDsrDtr:
        dcb.fOutxCtsFlow = false;
        dcb.fOutxDsrFlow = true;
        dcb.fDtrControl = SerialLineState::kDtrControlHandshake;
        dcb.fOutX = dcb.fInX = false;
        break;
    case flowXonXoff:
        dcb.fOutxCtsFlow = false;
        dcb.fOutxDsrFlow = false;
        dcb.fOutX = dcb.fInX = true;
        dcb.XonChar = 0x11;
        dcb.XoffChar = 0x13;
        dcb.XonLim = 100;
        dcb.XoffLim = 100;
        break;
    }
}

long long CSerialPort::WriteDeadlineMs(std::uint32_t count, const SerialLineState& line)
{
    const double parityBits = line.Parity == SerialLineState::kNoParity ? 0.0 : 1.0;
    const double stopBits = line.StopBits == SerialLineState::kOneStopBit     ? 1.0
                            : line.StopBits == SerialLineState::kOne5StopBits ? 1.5
                                                                              : 2.0;
    const double bitsPerCharacter = 1.0 + line.ByteSize + parityBits + stopBits;
    const double baud = line.BaudRate > 0 ? line.BaudRate : 1.0;
    const double lineMs = count * bitsPerCharacter * 1000.0 / baud;
    return static_cast<long long>(std::ceil(1.5 * lineMs)) + 2000;
}

std::uint32_t CSerialPort::InputQueueLength() const
{
    SerialLineStatus status;
    ReadLineStatus(status);
    return status.cbInQue;
}

void CSerialPort::SetNoWriteTimeouts()
{
    SerialTimeouts timeouts;
    GetTimeouts(timeouts);
    timeouts.WriteTotalTimeoutMultiplier = 0;
    timeouts.WriteTotalTimeoutConstant = 0;
    SetTimeouts(timeouts);
}

void CSerialPort::SetNonBlockingReads()
{
    SerialTimeouts timeouts;
    GetTimeouts(timeouts);
    timeouts.ReadIntervalTimeout = SerialTimeouts::kMaxDword;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = 0;
    SetTimeouts(timeouts);
}

void CSerialPort::SetNonBlockingTimeouts()
{
    SerialTimeouts timeouts;
    timeouts.ReadIntervalTimeout = SerialTimeouts::kMaxDword;
    SetTimeouts(timeouts);
}
