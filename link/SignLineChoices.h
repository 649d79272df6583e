#pragma once

#include "link/SerialPort.h"
#include "settings/CommSettings.h"

#include <string>

// The serial choices the sign link makes from the communication settings, compared exactly:
// "none" and "odd" choose those parities and any other text even parity; StopBits 2 chooses two
// stop bits and any other value one.
SerialParity ParityChoice(const std::string& parity);
SerialStopBits StopBitsChoice(int stopBits);

// The line of a serial delivery with `settings` (the speed and data bits as given).
SerialLine LineFor(const CommSettings& settings);
