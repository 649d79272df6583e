#pragma once

#include "link/Delivery.h"

namespace tickerlux::link {

// The two ways a delivery goes; Deliver chooses between them.

// Hands the transmission to libbetabriteusb.so in pieces of at most 256 bytes. The library is
// loaded afresh for every transmission and unloaded before returning, so a sign plugged in, or a
// library installed, while the program runs is found by the next delivery.
DeliveryResult DeliverOverUsb(const unsigned char* data, std::size_t length,
                              const Progress& progress);

// The same over the serial port of `settings` at `device`, with `slack` added to the write's
// deadline.
DeliveryResult DeliverOverSerial(const settings::CommSettings& settings, const std::string& device,
                                 const unsigned char* data,
                                 std::size_t length, const Progress& progress,
                                 std::chrono::milliseconds slack);

} // namespace tickerlux::link
