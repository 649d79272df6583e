#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tickerlux::cli {

// Command-line text <-> Windows-1252 bytes: UTF-8 with the escapes \\ \n \r \t \xHH.

// Windows-1252 bytes of a UTF-8 argument: literal text is converted ('?' for characters the
// code page lacks), each escape gives its byte unchanged. Nothing, with `error` set to a
// one-line reason, when the argument holds an unknown or incomplete escape.
std::optional<std::string> Unescape(std::string_view utf8, std::string& error);

// One line of UTF-8 for Windows-1252 bytes: a backslash, control bytes and bytes without a
// printable character are written as escapes, so that Unescape gives the bytes back.
std::string Escape(std::string_view bytes);

} // namespace tickerlux::cli
