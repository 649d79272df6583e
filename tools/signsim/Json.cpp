#include "tools/signsim/Json.h"

#include <cstdio>

namespace signsim {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence at `at`; a malformed one (bad lead, bad continuation, overlong,
// surrogate, above U+10FFFF) gives U+FFFD for its first byte alone.
char32_t NextCodePoint(std::string_view text, std::size_t& at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        ++at;
        return lead;
    }
    std::size_t length = 0;
    char32_t point = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, point = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, point = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, point = lead & 0x07, minimum = 0x10000;
    } else {
        ++at;
        return kReplacement;
    }
    if (at + length > text.size()) {
        ++at;
        return kReplacement;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = byte(at + i);
        if ((next & 0xC0) != 0x80) {
            ++at;
            return kReplacement;
        }
        point = (point << 6) | (next & 0x3F);
    }
    if (point < minimum || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
        ++at;
        return kReplacement;
    }
    at += length;
    return point;
}

void AppendUtf8(std::string& out, char32_t point)
{
    if (point < 0x80) {
        out += static_cast<char>(point);
    } else if (point < 0x800) {
        out += static_cast<char>(0xC0 | (point >> 6));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        out += static_cast<char>(0xE0 | (point >> 12));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (point >> 18));
        out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    }
}

} // namespace

std::string JsonString(std::string_view utf8)
{
    std::string out = "\"";
    for (std::size_t at = 0; at < utf8.size();) {
        const char32_t point = NextCodePoint(utf8, at);
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
            AppendUtf8(out, point);
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

} // namespace signsim
