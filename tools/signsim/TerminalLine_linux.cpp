#include "tools/signsim/TerminalLine.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace tickerlux::signsim {

bool ReadTerminalLine(int fd, TerminalLine& line)
{
    termios2 settings{};
    if (ioctl(fd, TCGETS2, &settings) != 0)
        return false;
    line.baud = static_cast<long>(settings.c_ospeed);
    switch (settings.c_cflag & CSIZE) {
    case CS5: line.dataBits = 5; break;
    case CS6: line.dataBits = 6; break;
    case CS7: line.dataBits = 7; break;
    default: line.dataBits = 8; break;
    }
    line.parity = (settings.c_cflag & PARENB) != 0;
    line.oddParity = (settings.c_cflag & PARODD) != 0;
    line.stickParity = (settings.c_cflag & CMSPAR) != 0;
    line.stopBits = (settings.c_cflag & CSTOPB) ? 2 : 1;
    return true;
}

} // namespace tickerlux::signsim
