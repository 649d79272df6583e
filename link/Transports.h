#pragma once

#include "link/Delivery.h"

namespace tickerlux::link {

// The two ways a connection goes; CSignConnection chooses between them once.
class CTransport {
public:
    virtual ~CTransport() = default;
    virtual DeliveryResult Send(const unsigned char* data, std::size_t length,
                                const Progress& progress) = 0;
    virtual DeliveryResult Close() = 0;
};

// libbetabriteusb.so, loaded afresh for every connection and unloaded when it closes, so a sign
// plugged in, or a library installed, while the program runs is found by the next command. On a
// problem `opening` gets it; the transport is still made when the library loaded and has its
// open function, so that it looks up the others and closes the sign as far as it can.
std::unique_ptr<CTransport> OpenUsb(DeliveryResult& opening);

// The serial port, held open until closed. Nothing on a failure (`opening` says why).
std::unique_ptr<CTransport> OpenSerial(const settings::CommSettings& settings,
                                       const SignPort& port, const ConnectionOptions& options,
                                       DeliveryResult& opening);

} // namespace tickerlux::link
