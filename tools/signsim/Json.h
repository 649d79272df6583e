#pragma once

#include <string>
#include <string_view>

namespace tickerlux::signsim {

// Just enough JSON to write one event a line.

// A quoted JSON string of UTF-8 text: control characters (C0, DEL and C1, line feed and tab
// included) become \u00XX and any
// byte that is not part of valid UTF-8 becomes U+FFFD, so the result is always valid JSON.
std::string JsonString(std::string_view utf8);

// Builds one JSON object member by member.
class CJsonObject {
public:
    CJsonObject& String(std::string_view key, std::string_view utf8);
    CJsonObject& Number(std::string_view key, long long value);
    CJsonObject& Null(std::string_view key);
    // `json` must already be valid JSON (an object, array or literal).
    CJsonObject& Raw(std::string_view key, std::string_view json);

    std::string Text() const { return "{" + m_members + "}"; }

private:
    void Key(std::string_view key);
    std::string m_members;
};

} // namespace tickerlux::signsim
