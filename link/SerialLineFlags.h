#pragma once

#include "link/SerialPort.h"

#include <cstdint>

// The POSIX backend's translation between line settings and the flag words of a terminal, kept
// free of the terminal headers so that it can be tested on its own.
namespace serialposix {

struct TerminalFlags {
    std::uint32_t iflag = 0;
    std::uint32_t oflag = 0;
    std::uint32_t cflag = 0;
    std::uint32_t lflag = 0;
    unsigned char vstart = 0;
    unsigned char vstop = 0;
    unsigned char vmin = 0;
    unsigned char vtime = 0;
    std::uint32_t speed = 0; // bits per second, both directions
};

// `current` with the settings of `dcb` applied: speed, data bits, parity, stop bits, flow
// control, and the raw binary mode a sign needs. Fields the terminal has no counterpart for
// (DSR/DTR flow, XonLim, XoffLim, the DTR and RTS line states) are not represented. False,
// with `current` untouched, for values the terminal cannot take (EINVAL).
bool ToTerminalFlags(const SerialLineState& dcb, TerminalFlags& current);

SerialLineState FromTerminalFlags(const TerminalFlags& flags);

} // namespace serialposix
