#pragma once

#include "link/SerialPort.h"

#include <cstdint>

namespace tickerlux::link {

// The Linux backend's translation of line settings into the flag words of a terminal, kept free
// of the terminal headers so that it can be tested on its own (a pseudo-terminal forces 8 data
// bits and no parity whatever it is given).

struct TerminalFlags {
    std::uint32_t iflag = 0;
    std::uint32_t oflag = 0;
    std::uint32_t cflag = 0;
    std::uint32_t lflag = 0;
    std::uint32_t speed = 0;  // bits per second, both directions
};

// `current` with `line` applied: speed, data bits, parity, stop bits, no flow control, and the
// raw binary mode a sign needs. False, with `current` untouched, for values a terminal cannot
// take (EINVAL).
bool ToTerminalFlags(const LineSettings& line, TerminalFlags& current);

} // namespace tickerlux::link
