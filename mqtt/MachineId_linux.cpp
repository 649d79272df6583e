#include "mqtt/MachineId.h"

#include <fstream>
#include <unistd.h>

namespace tickerlux::mqtt {

std::string MachineId()
{
    std::string id;
    std::ifstream file("/etc/machine-id");
    std::getline(file, id);
    if (id.empty()) {
        char host[256] = {};
        if (gethostname(host, sizeof host - 1) == 0)
            id = host;
    }
    for (char& c : id)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
              c == '_' || c == '-'))
            c = '_';
    return id.empty() ? "unknown" : id;
}

} // namespace tickerlux::mqtt
