#include "headlines/TickerluxEngine.h"

#include "settings/TickerluxDoc.h"
#include "sign/TextEncoder.h"

#include <cstring>
#include <string_view>

void CTickerluxEngine::BuildTextTransmission(unsigned char* buffer, int& length,
                                             const char* line) const
{
    // Bytes past the first kMaxLineLength are never sent, so they are not even looked at.
    const std::string_view text(line, strnlen(line, sign::kMaxLineLength));
    length = static_cast<int>(
        sign::BuildTextTransmission(buffer, text, m_doc.ColorIndex, m_doc.Condensed != 0));
}
