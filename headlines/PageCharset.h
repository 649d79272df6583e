#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Which charset a downloaded page is written in.
namespace tickerlux::headlines::pagecharset {

// How much of the page's start is searched for its own declaration.
inline constexpr std::size_t kDeclarationWindow = 4096;

// The page's charset, as a name ICU's converters know: the charset of the Content-Type header;
// else a byte order mark; else the page's own declaration in its first kDeclarationWindow bytes
// (<?xml ... encoding="..."?>, <meta charset="...">, <meta http-equiv="Content-Type"
// content="...; charset=...">); else UTF-8 when the page is valid UTF-8 with at least one
// multi-byte sequence; else windows-1252. A name ICU does not know counts as none. As browsers
// do, ISO-8859-1 and US-ASCII are read as windows-1252, and a declaration of UTF-16 in the
// page's own ASCII text as UTF-8.
std::string Detect(std::string_view contentType, std::string_view page);

} // namespace tickerlux::headlines::pagecharset
