#pragma once

#include "tests/support/SignSimProcess.h"

#include <cstddef>
#include <string>
#include <vector>

namespace tickerlux::test {

// What the virtual sign received up to a number of transmissions, with the texts it showed on
// the way (a display event follows the transmission that changed the display).
struct SignReception {
    std::vector<CSignSimProcess::Event> transmissions;
    std::vector<std::string> shown;

    // The "kind" of each transmission, in order.
    std::vector<std::string> Kinds() const;
};

// Reads events until `count` more transmissions have arrived; a shortfall (the simulator ended
// or timed out) is a test failure, and what arrived is returned. Transmissions with errors are
// test failures too.
SignReception ReceiveTransmissions(CSignSimProcess& sign, std::size_t count);

} // namespace tickerlux::test
