#pragma once

#include "link/SerialPort.h"
#include "settings/CommSettings.h"

#include <string>

namespace tickerlux::link {

// The serial choices the sign link makes from the communication settings, compared exactly:
// "none" and "odd" choose those parities and any other text even parity; StopBits 2 chooses two
// stop bits and any other value one.
SerialParity ParityChoice(const std::string& parity);
SerialStopBits StopBitsChoice(int stopBits);

// The line settings of a serial delivery with `settings` (the speed and data bits as given).
LineSettings LineSettingsFor(const settings::CommSettings& settings);

} // namespace tickerlux::link
