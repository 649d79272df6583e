#pragma once

#include "tools/signsim/Report.h"

#include <functional>
#include <vector>

namespace tickerlux::signsim {

// Passes everything on to the printed report, and hands each new display to the sign's faces
// (the picture file, the window) as well.
class CFaceReport final : public IReport {
public:
    using Face = std::function<void(const Display&)>;

    CFaceReport(IReport& printed, std::vector<Face> faces);

    bool Ready(const std::string& device, std::optional<int> comPort) override;
    bool Transmission(const TransmissionReport& report) override;
    bool DisplayChanged(const Display& display) override;

private:
    IReport& m_printed;
    std::vector<Face> m_faces;
};

} // namespace tickerlux::signsim
