#pragma once

#include "link/SerialPort.h"
#include "settings/CommSettings.h"


namespace tickerlux::link {

// The serial choices the sign link makes from the communication settings: a parity or stop bits
// left unset give even parity and one stop bit.
SerialParity ParityChoice(settings::Parity parity);
SerialStopBits StopBitsChoice(settings::StopBits stopBits);

// The line settings of a serial delivery with `settings` (the speed and data bits as given).
LineSettings LineSettingsFor(const settings::CommSettings& settings);

} // namespace tickerlux::link
