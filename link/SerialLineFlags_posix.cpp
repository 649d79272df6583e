#include "link/SerialLineFlags.h"

#include <asm/termbits.h>

namespace serialposix {
namespace {

struct SpeedCode {
    std::uint32_t speed;
    std::uint32_t code;
};

// Speeds with a code of their own; any other speed goes as BOTHER with the number itself.
constexpr SpeedCode kSpeedCodes[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
};

std::uint32_t SpeedCodeFor(std::uint32_t speed)
{
    for (const SpeedCode& entry : kSpeedCodes) {
        if (entry.speed == speed)
            return entry.code;
    }
    return BOTHER;
}

std::uint32_t SizeFlag(std::uint8_t dataBits)
{
    switch (dataBits) {
    case 5:
        return CS5;
    case 6:
        return CS6;
    case 7:
        return CS7;
    default:
        return CS8;
    }
}

} // namespace

bool ToTerminalFlags(const SerialLineState& dcb, TerminalFlags& current)
{
    if (dcb.BaudRate == 0 || dcb.ByteSize < 5 || dcb.ByteSize > 8 ||
        dcb.Parity > SerialLineState::kSpaceParity || dcb.StopBits > SerialLineState::kTwoStopBits)
        return false;
    TerminalFlags flags = current;

    flags.cflag &= ~static_cast<std::uint32_t>(CBAUD | CIBAUD | CSIZE | PARENB | PARODD | CMSPAR |
                                               CSTOPB | CRTSCTS);
    // The sign's line has no modem control: CLOCAL keeps opens and writes from waiting for DCD.
    flags.cflag |= SpeedCodeFor(dcb.BaudRate) | SizeFlag(dcb.ByteSize) | CREAD | CLOCAL;
    switch (dcb.Parity) {
    case SerialLineState::kOddParity:
        flags.cflag |= PARENB | PARODD;
        break;
    case SerialLineState::kEvenParity:
        flags.cflag |= PARENB;
        break;
    case SerialLineState::kMarkParity:
        flags.cflag |= PARENB | CMSPAR | PARODD;
        break;
    case SerialLineState::kSpaceParity:
        flags.cflag |= PARENB | CMSPAR;
        break;
    default:
        break;
    }
    // With five data bits the UART sends one and a half stop bits for CSTOPB.
    if (dcb.StopBits != SerialLineState::kOneStopBit)
        flags.cflag |= CSTOPB;
    // Linux has one switch for RTS/CTS handshaking in both directions and none for DSR/DTR:
    // the CTS output flow decides.
    if (dcb.fOutxCtsFlow)
        flags.cflag |= CRTSCTS;

    // Binary transfer: no translation, no echo, no signals, no line editing.
    flags.iflag &=
        ~static_cast<std::uint32_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL |
                                    IUCLC | IXON | IXOFF | IXANY | INPCK | IMAXBEL);
    if (dcb.Parity != SerialLineState::kNoParity)
        flags.iflag |= INPCK;
    if (dcb.fOutX)
        flags.iflag |= IXON;
    if (dcb.fInX)
        flags.iflag |= IXOFF;
    flags.oflag &= ~static_cast<std::uint32_t>(OPOST);
    flags.lflag &=
        ~static_cast<std::uint32_t>(ECHO | ECHOE | ECHOK | ECHONL | ICANON | ISIG | IEXTEN | XCASE);
    flags.vstart = static_cast<unsigned char>(dcb.XonChar);
    flags.vstop = static_cast<unsigned char>(dcb.XoffChar);
    flags.speed = dcb.BaudRate;
    current = flags;
    return true;
}

SerialLineState FromTerminalFlags(const TerminalFlags& flags)
{
    SerialLineState dcb;
    dcb.BaudRate = flags.speed;
    switch (flags.cflag & CSIZE) {
    case CS5:
        dcb.ByteSize = 5;
        break;
    case CS6:
        dcb.ByteSize = 6;
        break;
    case CS7:
        dcb.ByteSize = 7;
        break;
    default:
        dcb.ByteSize = 8;
        break;
    }
    if (!(flags.cflag & PARENB))
        dcb.Parity = SerialLineState::kNoParity;
    else if (flags.cflag & CMSPAR)
        dcb.Parity =
            (flags.cflag & PARODD) ? SerialLineState::kMarkParity : SerialLineState::kSpaceParity;
    else
        dcb.Parity =
            (flags.cflag & PARODD) ? SerialLineState::kOddParity : SerialLineState::kEvenParity;
    if (!(flags.cflag & CSTOPB))
        dcb.StopBits = SerialLineState::kOneStopBit;
    else
        dcb.StopBits =
            dcb.ByteSize == 5 ? SerialLineState::kOne5StopBits : SerialLineState::kTwoStopBits;
    dcb.fOutxCtsFlow = (flags.cflag & CRTSCTS) != 0;
    dcb.fRtsControl = dcb.fOutxCtsFlow ? SerialLineState::kRtsControlHandshake
                                       : SerialLineState::kRtsControlEnable;
    dcb.fOutX = (flags.iflag & IXON) != 0;
    dcb.fInX = (flags.iflag & IXOFF) != 0;
    dcb.XonChar = static_cast<char>(flags.vstart);
    dcb.XoffChar = static_cast<char>(flags.vstop);
    return dcb;
}

} // namespace serialposix
