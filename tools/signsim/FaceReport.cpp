#include "tools/signsim/FaceReport.h"

namespace tickerlux::signsim {

CFaceReport::CFaceReport(IReport& printed, std::vector<Face> faces)
    : m_printed(printed), m_faces(std::move(faces))
{
}

bool CFaceReport::Ready(const std::string& device, std::optional<int> comPort)
{
    return m_printed.Ready(device, comPort);
}

bool CFaceReport::Transmission(const TransmissionReport& report)
{
    return m_printed.Transmission(report);
}

bool CFaceReport::DisplayChanged(const Display& display)
{
    for (const Face& face : m_faces)
        face(display);
    return m_printed.DisplayChanged(display);
}

} // namespace tickerlux::signsim
