#include "engine/TickerluxEngine.h"

#include "settings/TickerluxDoc.h"
#include "sign/Framing.h"
#include "sign/TextEncoder.h"

#include <cstring>
#include <string_view>

namespace tickerlux::engine {

void CTickerluxEngine::BuildClearTransmission(unsigned char* buffer, int& length) const
{
    length = static_cast<int>(sign::BuildClearTransmission(buffer));
}

base::Failure CTickerluxEngine::SendMemoryConfig(int textTransmissionLength)
{
    const auto bytes = sign::BuildMemoryConfigTransmission(textTransmissionLength);
    return SendToSign(GetSignPort(), bytes.data(), static_cast<int>(bytes.size()));
}

base::Failure CTickerluxEngine::SendRunSequence()
{
    const auto bytes = sign::BuildRunSequenceTransmission();
    return SendToSign(GetSignPort(), bytes.data(), static_cast<int>(bytes.size()));
}

int CTickerluxEngine::GetSignPort() const
{
    return m_doc.Comm.ComPort;
}

void CTickerluxEngine::BuildTextTransmission(unsigned char* buffer, int& length,
                                             const char* line) const
{
    // Bytes past the first kMaxLineLength are never sent, so they are not even looked at.
    const std::string_view text(line, strnlen(line, sign::kMaxLineLength));
    length = static_cast<int>(
        sign::BuildTextTransmission(buffer, text, m_doc.ColorIndex, m_doc.Condensed != 0));
}

} // namespace tickerlux::engine
