#include "headlines/CodePageText.h"

#include "base/Win1252.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>
#include <unicode/uscript.h>

#include <algorithm>
#include <memory>
#include <unordered_map>

namespace tickerlux::headlines {

namespace {

// Latin-ASCII leaves the euro sign, the bullet and the symbols below alone (or drops them); the
// compatibility decomposition then spells ™ as TM and ² as 2, and the accents it splits off are
// dropped. No spelling is longer than CShowableText::kMaxBytesPerCharacter.
const char16_t kAsciiRules[] =
    u"\\u20AC > EUR; \\u2022 > '*';"
    u"\\u2265 > '>='; \\u2264 > '<='; \\u2192 > '->'; \\u00B7 > '-'; \\u2020 > '+';"
    u"\\u00B5 > u; \\u00A7 > S; \\u00B6 > P; \\u2030 > 'o/oo'; \\u00AC > '-';"
    u"\\u00A6 > '|'; \\u00B4 > ''; \\u00A8 > '\"'; \\u00B8 > ',';"
    u"::Latin-ASCII; ::NFKD; ::[:Nonspacing Mark:] Remove;";

struct Spelling {
    std::string text;
    bool han = false;
};

// ICU's transliterators take long to build and much longer per character on long runs of some
// scripts (Chinese), so each thread builds them once and spells each character once, alone.
class CSpeller {
public:
    static constexpr std::size_t kMaxRemembered = 1 << 16;

    const Spelling& Spell(char32_t codePoint)
    {
        auto found = m_spelled.find(codePoint);
        if (found != m_spelled.end())
            return found->second;
        // A long-running program meets few characters, but a hostile page may hold many.
        if (m_spelled.size() >= kMaxRemembered)
            m_spelled.clear();
        found = m_spelled.emplace(codePoint, MakeSpelling(codePoint)).first;
        return found->second;
    }

    std::u32string Ascii(char32_t codePoint)
    {
        icu::UnicodeString text(static_cast<UChar32>(codePoint));
        if (EnsureAscii())
            m_ascii->transliterate(text);
        std::u32string out;
        for (int32_t i = 0; i < text.length(); i = text.moveIndex32(i, 1))
            out += static_cast<char32_t>(text.char32At(i));
        return out;
    }

private:
    Spelling MakeSpelling(char32_t codePoint)
    {
        UErrorCode status = U_ZERO_ERROR;
        Spelling spelling;
        spelling.han = uscript_getScript(static_cast<UChar32>(codePoint), &status) == USCRIPT_HAN;
        icu::UnicodeString latin(static_cast<UChar32>(codePoint));
        if (EnsureLatin())
            m_latin->transliterate(latin);
        // Plain ASCII, so that syllables read alike whether or not the code page has their
        // accents (xin wen, not xin wén).
        for (int32_t i = 0; i < latin.length(); i = latin.moveIndex32(i, 1)) {
            for (const char32_t a : Ascii(static_cast<char32_t>(latin.char32At(i)))) {
                if (a < 0x80)
                    spelling.text += static_cast<char>(a);
            }
        }
        std::erase(spelling.text, '\0');
        // One byte is kept for the space between two Chinese syllables.
        if (spelling.text.size() > CCodePageText::kMaxBytesPerCharacter - 1)
            spelling.text.resize(CCodePageText::kMaxBytesPerCharacter - 1);
        return spelling;
    }

    bool EnsureLatin()
    {
        if (!m_latin && !m_latinFailed) {
            UErrorCode status = U_ZERO_ERROR;
            m_latin.reset(icu::Transliterator::createInstance("Any-Latin", UTRANS_FORWARD, status));
            m_latinFailed = U_FAILURE(status) || !m_latin;
        }
        return !m_latinFailed;
    }

    bool EnsureAscii()
    {
        if (!m_ascii && !m_asciiFailed) {
            UErrorCode status = U_ZERO_ERROR;
            UParseError where;
            m_ascii.reset(icu::Transliterator::createFromRules(
                "Tickerlux-ASCII", icu::UnicodeString(kAsciiRules), UTRANS_FORWARD, where, status));
            m_asciiFailed = U_FAILURE(status) || !m_ascii;
        }
        return !m_asciiFailed;
    }

    std::unique_ptr<icu::Transliterator> m_latin;
    std::unique_ptr<icu::Transliterator> m_ascii;
    bool m_latinFailed = false;
    bool m_asciiFailed = false;
    std::unordered_map<char32_t, Spelling> m_spelled;
};

CSpeller& Speller()
{
    thread_local CSpeller speller;
    return speller;
}

}  // namespace

void CCodePageText::AppendAscii(std::string_view ascii)
{
    for (std::size_t nul; !ascii.empty(); ascii.remove_prefix(nul + 1)) {
        nul = std::min(ascii.find('\0'), ascii.size());
        m_out.append(ascii.substr(0, nul));
        if (nul != 0)
            m_afterHan = false;
        if (nul == ascii.size())
            break;
    }
}

void CCodePageText::AppendOther(char32_t codePoint)
{
    if (codePoint == 0)
        return;
    if (codepage::Has(codePoint)) {
        m_out += base::win1252::FromUnicode(codePoint);
        m_afterHan = false;
        return;
    }
    const Spelling& spelling = Speller().Spell(codePoint);
    if (spelling.han && m_afterHan)
        m_out += ' ';
    m_out += spelling.text;
    m_afterHan = spelling.han;
}

namespace codepage {

bool Has(char32_t codePoint)
{
    return codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF) ||
           base::win1252::FromUnicode(codePoint) != '?';
}

std::u32string AsciiSpelling(char32_t codePoint)
{
    return Speller().Ascii(codePoint);
}

}  // namespace codepage

} // namespace tickerlux::headlines
