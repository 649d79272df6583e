#include "link/SerialLineFlags.h"

#include <asm/termbits.h>

namespace tickerlux::link {

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

bool ToTerminalFlags(const LineSettings& line, TerminalFlags& current)
{
    if (line.speed == 0 || line.dataBits < 5 || line.dataBits > 8)
        return false;
    TerminalFlags flags = current;

    flags.cflag &= ~static_cast<std::uint32_t>(CBAUD | CIBAUD | CSIZE | PARENB | PARODD | CMSPAR |
                                               CSTOPB | CRTSCTS);
    // The sign's line has no modem control: CLOCAL keeps opens and writes from waiting for DCD.
    flags.cflag |= SpeedCodeFor(line.speed) | SizeFlag(line.dataBits) | CREAD | CLOCAL;
    switch (line.parity) {
    case SerialParity::Odd:
        flags.cflag |= PARENB | PARODD;
        break;
    case SerialParity::Even:
        flags.cflag |= PARENB;
        break;
    case SerialParity::Mark:
        flags.cflag |= PARENB | CMSPAR | PARODD;
        break;
    case SerialParity::Space:
        flags.cflag |= PARENB | CMSPAR;
        break;
    case SerialParity::None:
        break;
    }
    // With five data bits the UART sends one and a half stop bits for CSTOPB.
    if (line.stopBits != SerialStopBits::One)
        flags.cflag |= CSTOPB;

    // Binary transfer: no translation, no flow control, no echo, no signals, no line editing.
    flags.iflag &=
        ~static_cast<std::uint32_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL |
                                    IUCLC | IXON | IXOFF | IXANY | INPCK | IMAXBEL);
    if (line.parity != SerialParity::None)
        flags.iflag |= INPCK;
    flags.oflag &= ~static_cast<std::uint32_t>(OPOST);
    flags.lflag &=
        ~static_cast<std::uint32_t>(ECHO | ECHOE | ECHOK | ECHONL | ICANON | ISIG | IEXTEN | XCASE);
    flags.speed = line.speed;
    current = flags;
    return true;
}

} // namespace tickerlux::link
