#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tickerlux::headlines {

// A downloaded page as text in the program's code page.

// `bytes` read in `charset` (a name ICU knows; an unknown one is read as windows-1252) and
// written in Windows-1252 as CCodePageText writes it: bytes that are not valid in the charset
// and a leading byte order mark are left out, and so is U+0000. The result holds at most
// `maxLength` bytes; a page whose text is longer is cut there.
std::string ToCodePage(std::string_view bytes, const std::string& charset, std::size_t maxLength);

} // namespace tickerlux::headlines
