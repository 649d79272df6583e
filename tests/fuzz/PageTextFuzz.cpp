// Arbitrary bytes as a downloaded page through charset detection, conversion to the code page,
// headline cleanup and the fold to what the sign shows. The first byte chooses the charset that
// the Content-Type header declares (or none); the rest is the page.
#include "headlines/CodePageText.h"
#include "headlines/HeadlineCleanup.h"
#include "headlines/PageCharset.h"
#include "headlines/PageText.h"
#include "headlines/ShowableText.h"
#include "sign/TextEncoder.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace tickerlux;
using namespace tickerlux::headlines;
using namespace tickerlux::sign;

namespace {

constexpr std::array<const char*, 14> kDeclared = {
    "",          "utf-8",   "windows-1251", "koi8-r", "iso-8859-1",  "utf-16le", "utf-16be",
    "shift_jis", "gb18030", "big5",         "euc-kr", "iso-2022-jp", "utf-32",   "no-such-set"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string declared = kDeclared[data[0] % kDeclared.size()];
    const std::string_view page(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string charset =
        pagecharset::Detect(declared.empty() ? "" : "text/html; charset=" + declared, page);

    const std::string text = headlines::ToCodePage(page, charset);
    if (text.size() > page.size() * CCodePageText::kMaxBytesPerCharacter ||
        text.find('\0') != std::string::npos)
        std::abort();

    const std::string clean = CleanHeadline(text);
    if (clean.size() > text.size() * CCodePageText::kMaxBytesPerCharacter ||
        clean.find("  ") != std::string::npos || clean.starts_with(' ') || clean.ends_with(' '))
        std::abort();

    static const std::bitset<256> showable = sign::ShowableBytes();
    static const CShowableText shown(showable);
    const std::string folded = shown.Fold(clean);
    if (folded.size() > clean.size() * CShowableText::kMaxBytesPerCharacter)
        std::abort();
    for (const char c : folded) {
        if (!showable[static_cast<unsigned char>(c)])
            std::abort();
    }
    return 0;
}
