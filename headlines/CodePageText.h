#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tickerlux::headlines {

// Windows-1252 text built from Unicode characters. A character the code page lacks is spelled in
// ASCII: other scripts are transliterated to Latin letters and their accents dropped (ICU), and
// Latin letters and symbols the code page lacks lose their accents or are spelled out (ł as l,
// ő as o, ⅓ as 1/3). A character with no such spelling is left out, so nothing ever turns
// into '?'.
class CCodePageText {
public:
    // The most bytes one character becomes; a longer spelling (a ligature of whole words) is cut.
    static constexpr std::size_t kMaxBytesPerCharacter = 8;

    explicit CCodePageText(std::string& out) : m_out(out) {}

    // U+0000 is left out, so that the text never holds a NUL. ASCII, which most pages are made
    // of, is appended here without a call.
    void Append(char32_t codePoint)
    {
        if (codePoint - 1 < 0x7F) {
            m_out += static_cast<char>(codePoint);
            m_afterHan = false;
        } else {
            AppendOther(codePoint);
        }
    }

    // ASCII bytes as they are, NULs left out.
    void AppendAscii(std::string_view ascii);

private:
    void AppendOther(char32_t codePoint);

    std::string& m_out;
    bool m_afterHan = false;  // syllables of Chinese characters are written apart
};

namespace codepage {

// Whether Windows-1252 has the character.
bool Has(char32_t codePoint);

// The ASCII spelling of a character that has one ("EUR" for €, "(C)" for ©, "TM" for ™,
// '"' for curly double quotes, "e" for é), else the character itself.
std::u32string AsciiSpelling(char32_t codePoint);

}  // namespace codepage

} // namespace tickerlux::headlines
