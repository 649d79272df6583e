#pragma once

#include <string>
#include <string_view>

namespace tickerlux::headlines {

// One headline cut from a page, cleaned for reading. Both are in the program's code page
// (Windows-1252): CDATA sections are unwrapped, tags and comments dropped (a line break or a
// block such as a paragraph leaves a space), character references decoded (HTML's named and
// numeric ones), runs of white space made one space, and the ends trimmed. Decoding happens
// once, after the tags are gone, so "&lt;b&gt;" gives the text "<b>". Characters that the code
// page lacks, which a reference may name, are spelled as CCodePageText spells them, so the
// result holds at most CCodePageText::kMaxBytesPerCharacter bytes for each byte of `headline`.
std::string CleanHeadline(std::string_view headline);

} // namespace tickerlux::headlines
