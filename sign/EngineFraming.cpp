#include "headlines/TickerluxEngine.h"

#include "settings/TickerluxDoc.h"
#include "sign/Framing.h"

void CTickerluxEngine::BuildClearTransmission(unsigned char* buffer, int& length) const
{
    length = static_cast<int>(sign::BuildClearTransmission(buffer));
}

void CTickerluxEngine::SendMemoryConfig(int textTransmissionLength)
{
    const auto bytes = sign::BuildMemoryConfigTransmission(textTransmissionLength);
    SendToSign(GetSignPort(), bytes.data(), static_cast<int>(bytes.size()));
}

void CTickerluxEngine::SendRunSequence()
{
    const auto bytes = sign::BuildRunSequenceTransmission();
    SendToSign(GetSignPort(), bytes.data(), static_cast<int>(bytes.size()));
}

int CTickerluxEngine::GetSignPort() const
{
    return m_doc.ComPort;
}
