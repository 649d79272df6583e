#include "tools/signsim/Json.h"

#include "base/Utf8.h"

#include <cstdio>

namespace tickerlux::signsim {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

} // namespace

std::string JsonString(std::string_view text)
{
    std::string out = "\"";
    for (std::size_t at = 0; at < text.size();) {
        const char32_t point = base::utf8::NextCodePoint(text, at).value_or(kReplacement);
        switch (point) {
        case '"': out += "\\\""; continue;
        case '\\': out += "\\\\"; continue;
        default: break;
        }
        if (point < 0x20 || (point >= 0x7F && point <= 0x9F)) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(point));
            out += escaped;
        } else {
            base::utf8::Append(out, point);
        }
    }
    return out + "\"";
}

void CJsonObject::Key(std::string_view key)
{
    if (!m_members.empty())
        m_members += ',';
    m_members += JsonString(key);
    m_members += ':';
}

CJsonObject& CJsonObject::String(std::string_view key, std::string_view utf8)
{
    Key(key);
    m_members += JsonString(utf8);
    return *this;
}

CJsonObject& CJsonObject::Number(std::string_view key, long long value)
{
    Key(key);
    m_members += std::to_string(value);
    return *this;
}

CJsonObject& CJsonObject::Null(std::string_view key)
{
    Key(key);
    m_members += "null";
    return *this;
}

CJsonObject& CJsonObject::Raw(std::string_view key, std::string_view json)
{
    Key(key);
    m_members += json;
    return *this;
}

} // namespace tickerlux::signsim
