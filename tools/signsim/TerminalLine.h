#pragma once

namespace tickerlux::signsim {

// Reads a terminal's line settings with the kernel's own structure, which holds any speed as a
// number (a custom rate set through BOTHER included). Kept apart from <termios.h>, whose
// struct termios clashes with the kernel's.

struct TerminalLine {
    long baud = 0;
    int dataBits = 8;
    bool parity = false;
    bool oddParity = false;
    bool stickParity = false;  // mark or space
    int stopBits = 1;
};

// False with errno set when `fd` is no terminal.
bool ReadTerminalLine(int fd, TerminalLine& line);

} // namespace tickerlux::signsim
