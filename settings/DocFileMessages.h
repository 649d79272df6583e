#pragma once

#include <string>

namespace tickerlux::settings {

// What the user is told when a settings file cannot be opened or saved. Paths appear as the file
// system spells them (UTF-8).

// The file ended before its last value, or a length in it points past its end.
inline constexpr const char* kUnexpectedFormat = "Unexpected file format.";

// The file could not be read at all; `reason` is the system's text.
std::string ReadFailed(const std::string& path, const std::string& reason);

// The file could not be written; the earlier file, if any, is untouched.
std::string SaveFailed(const std::string& path, const std::string& reason);

} // namespace tickerlux::settings
