#pragma once

#include <string>
#include <string_view>

namespace tickerlux::headlines {

// A downloaded page as text in the program's code page.

// `bytes` read in `charset` (a name ICU knows; an unknown one is read as windows-1252; the
// "replacement" encoding gives no text at all) and
// written in Windows-1252 as CCodePageText writes it: bytes that are not valid in the charset
// and a leading byte order mark are left out, and so is U+0000. Nothing is cut: the text holds
// at most CCodePageText::kMaxBytesPerCharacter bytes for each byte of `bytes`.
std::string ToCodePage(std::string_view bytes, const std::string& charset);

} // namespace tickerlux::headlines
