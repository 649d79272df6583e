#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Which charset a downloaded page is written in.
namespace tickerlux::headlines::pagecharset {

// How much of the page's start is searched for its own declaration.
inline constexpr std::size_t kDeclarationWindow = 4096;

// The page's charset, as the name of ICU's converter for it, found as browsers find it: a byte
// order mark; else the charset of the Content-Type header; else the page's own declaration in
// its first kDeclarationWindow bytes (<?xml ... encoding="..."?>, or by the HTML prescan
// <meta charset="..."> or <meta http-equiv="Content-Type" content="...; charset=...">, whole
// within the window); else UTF-8 when the page is valid UTF-8 with at least one multi-byte
// sequence; else windows-1252. Labels name encodings as the WHATWG Encoding Standard's table
// has it (ISO-8859-1 and US-ASCII are windows-1252, GB2312 is GB18030, EUC-KR is windows-949),
// and a label it lacks counts as none. A UTF-16 label in the page's own ASCII text means UTF-8.
// The labels of encodings that browsers refuse give "replacement": a page without text.
std::string Detect(std::string_view contentType, std::string_view page);

} // namespace tickerlux::headlines::pagecharset
