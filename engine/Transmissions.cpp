#include "engine/TickerluxEngine.h"

#include "settings/PortMap.h"
#include "settings/TickerluxDoc.h"
#include "sign/Framing.h"
#include "sign/TextEncoder.h"

#include <algorithm>
#include <string_view>

namespace tickerlux::engine {

Transmission CTickerluxEngine::BuildClearTransmission() const
{
    Transmission bytes(sign::kClearLength);
    bytes.resize(sign::BuildClearTransmission(bytes.data()));
    return bytes;
}

base::Failure CTickerluxEngine::SendMemoryConfig(std::size_t textTransmissionLength)
{
    const auto bytes = sign::BuildMemoryConfigTransmission(static_cast<int>(textTransmissionLength));
    return SendToSign(GetSignPort(), Transmission(bytes.begin(), bytes.end()));
}

base::Failure CTickerluxEngine::SendRunSequence()
{
    const auto bytes = sign::BuildRunSequenceTransmission();
    return SendToSign(GetSignPort(), Transmission(bytes.begin(), bytes.end()));
}

link::SignPort CTickerluxEngine::GetSignPort() const
{
    if (m_commandPort)
        return *m_commandPort;
    const int com = std::max(m_doc.Comm.ComPort, 1);
    return {com, m_devicePath.empty() ? settings::ResolvePort(m_ports, com) : m_devicePath};
}

Transmission CTickerluxEngine::BuildTextTransmission(const std::string& line) const
{
    // A NUL ends the line, and bytes past the first kMaxLineLength are never sent.
    std::string_view text = line;
    text = text.substr(0, std::min(text.find('\0'), sign::kMaxLineLength));
    Transmission bytes(sign::kMaxTextTransmissionLength);
    bytes.resize(sign::BuildTextTransmission(bytes.data(), text, m_doc.ColorIndex,
                                             m_doc.Condensed != 0));
    return bytes;
}

} // namespace tickerlux::engine
