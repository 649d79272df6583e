#include "headlines/ShowableText.h"

#include "base/Win1252.h"
#include "headlines/CodePageText.h"

#include <algorithm>

namespace tickerlux::headlines {

CShowableText::CShowableText(const std::bitset<256>& showable)
{
    for (std::size_t byte = 0; byte < m_spelling.size(); ++byte) {
        std::string& spelling = m_spelling[byte];
        if (showable[byte]) {
            spelling = static_cast<char>(byte);
            continue;
        }
        for (const char32_t c :
             codepage::AsciiSpelling(base::win1252::ToUnicode(static_cast<unsigned char>(byte)))) {
            const auto spelled = static_cast<unsigned char>(base::win1252::FromUnicode(c));
            if (codepage::Has(c) && showable[spelled])
                spelling += static_cast<char>(spelled);
        }
        spelling.resize(std::min(spelling.size(), kMaxBytesPerCharacter));
    }
}

std::string CShowableText::Fold(std::string_view text) const
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text)
        out += m_spelling[static_cast<unsigned char>(c)];
    return out;
}

} // namespace tickerlux::headlines
