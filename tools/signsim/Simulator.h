#pragma once

#include "sign/SignDecoder.h"
#include "tools/signsim/LinePacer.h"
#include "tools/signsim/SignState.h"

#include <optional>

namespace tickerlux::signsim {

class CPty;
class CStopSignals;
class IReport;

// Reads the device until stopped: decodes, checks and reports every transmission, and the
// display after each change.
class CSimulator {
public:
    enum class Outcome { Stopped, CountReached, OutputFailed };

    CSimulator(CPty& pty, IReport& report, const CStopSignals& stop, std::optional<long> count,
               bool lineSpeed);
    Outcome Run();

private:
    // False when the output failed.
    bool Handle(const sign::DecodedTransmission& transmission);
    bool CountReached() const { return m_count && m_number >= *m_count; }
    // Bytes per second of the line as set now; 0 for no pacing.
    double PacedRate() const;

    CPty& m_pty;
    IReport& m_report;
    const CStopSignals& m_stop;
    std::optional<long> m_count;
    bool m_lineSpeed;
    sign::CSignDecoder m_decoder;
    CSignState m_state;
    Display m_shown;
    CLinePacer m_pacer;
    long m_number = 0;
};

} // namespace tickerlux::signsim
