#pragma once

#include "base/Failure.h"
#include "settings/CommSettings.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace tickerlux::link {

// Delivery of one whole transmission to the sign, over the connection the settings name.

// Called with (bytes delivered, total) as the delivery goes on.
using Progress = std::function<void(long long sent, long long total)>;

struct DeliveryResult {
    base::Failure failure;  // kind None when every byte was delivered
    // Over USB, each problem met on the way, in order (the library or one of its functions
    // missing, the sign not opening); a refused piece is no problem of its own, only a failure.
    std::vector<base::Failure> problems;
};

// A serial write may take 1.5 times the bytes' time on the line plus this long.
inline constexpr std::chrono::milliseconds kSerialDeadlineSlack{2000};

// Over USB for the USB connection; otherwise over the serial port COMn (settings.ComPort, at
// least 1), whose device the caller resolved (`device`), with the settings' speed, data bits,
// parity and stop bits, within the serial deadline (`serialSlack` replaces its 2 s). A serial
// failure names the port, its device and the step ("COM3 (/dev/ttyS2): open") with the system's
// text.
DeliveryResult Deliver(const settings::CommSettings& settings, const std::string& device,
                       const unsigned char* data, std::size_t length,
                       const Progress& progress,
                       std::chrono::milliseconds serialSlack = kSerialDeadlineSlack);

} // namespace tickerlux::link
