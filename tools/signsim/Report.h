#pragma once

#include "sign/SignDecoder.h"
#include "tools/signsim/Pty.h"
#include "tools/signsim/SignState.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tickerlux::signsim {

// What the simulator tells its user: as readable text or as one JSON event a line.

struct TransmissionReport {
    int number = 0;                               // 1 for the first since the start
    const sign::DecodedTransmission* transmission = nullptr;
    LineSettings line;                            // when the transmission ended
    std::vector<std::string> errors;              // the decoder's and the sign's
};

class IReport {
public:
    virtual ~IReport() = default;
    // Each returns false when the output can no longer be written (a closed pipe).
    virtual bool Ready(const std::string& device, std::optional<int> comPort) = 0;
    virtual bool Transmission(const TransmissionReport& report) = 0;
    virtual bool DisplayChanged(const Display& display) = 0;
};

std::unique_ptr<IReport> MakeJsonReport(std::FILE* out);
// `colors`: ANSI colours, for a terminal.
std::unique_ptr<IReport> MakeHumanReport(std::FILE* out, bool colors);

} // namespace tickerlux::signsim
