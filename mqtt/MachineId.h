#pragma once

#include <string>

namespace tickerlux::mqtt {

// This machine's id for unique ids: /etc/machine-id, else the host name, with every character
// outside a-z, A-Z, 0-9, '_' and '-' made '_'.
std::string MachineId();

} // namespace tickerlux::mqtt
