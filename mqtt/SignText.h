#pragma once

#include <string>
#include <string_view>

namespace tickerlux::mqtt {

// UTF-8 text as a sign line (Windows-1252) that shows it as it stands: folded as headlines are,
// so a character the sign lacks is transliterated or spelled plainly (never '?') or left out,
// and "&#" never starts a reference. Malformed UTF-8 is skipped; the line is cut where the sign's
// line ends.
std::string SignLineFromUtf8(std::string_view text);

} // namespace tickerlux::mqtt
