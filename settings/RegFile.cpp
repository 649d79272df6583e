#include "settings/RegFile.h"

#include "base/AsciiCase.h"

#include <cstdio>

namespace tickerlux::settings::regfile {
namespace {

constexpr std::uint32_t kTypeSz = 1;
constexpr std::uint32_t kTypeBinary = 3;
constexpr std::uint32_t kTypeDword = 4;
constexpr std::size_t kHexBytesPerLine = 25;

// The line without its line end and trailing blanks.
std::string_view Trimmed(std::string_view line)
{
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' ' ||
                             line.back() == '\t'))
        line.remove_suffix(1);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
        line.remove_prefix(1);
    return line;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = base::AsciiLower(c);
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// A quoted name or string starting at text[0] == '"'; `used` receives the characters consumed.
std::optional<std::string> ParseQuoted(std::string_view text, std::size_t& used)
{
    std::string out;
    for (std::size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            used = i + 1;
            return out;
        }
        if (c == '\\' && i + 1 < text.size() && (text[i + 1] == '\\' || text[i + 1] == '"')) {
            out += text[++i];
            continue;
        }
        out += c;
    }
    return std::nullopt;
}

// Comma-separated hex bytes; blanks and the continuation backslashes were joined away already.
std::optional<std::string> ParseHexBytes(std::string_view text)
{
    std::string out;
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
            ++i;
    };
    skipBlanks();
    if (i == text.size())
        return out;
    for (;;) {
        skipBlanks();
        if (i + 2 > text.size())
            return std::nullopt;
        const int high = HexDigit(text[i]);
        const int low = HexDigit(text[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        out += static_cast<char>(high * 16 + low);
        i += 2;
        skipBlanks();
        if (i == text.size())
            return out;
        if (text[i] != ',')
            return std::nullopt;
        ++i;
    }
}

std::optional<std::uint32_t> ParseHexNumber(std::string_view text, std::size_t maxDigits)
{
    if (text.empty() || text.size() > maxDigits)
        return std::nullopt;
    std::uint32_t value = 0;
    for (const char c : text) {
        const int digit = HexDigit(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return value;
}

// The data part of a value line (after '=').
std::optional<Value> ParseData(std::string_view text)
{
    Value value;
    if (!text.empty() && text.front() == '"') {
        std::size_t used = 0;
        std::optional<std::string> str = ParseQuoted(text, used);
        if (!str || used != text.size())
            return std::nullopt;
        value.type = kTypeSz;
        value.data = *str + '\0';
        return value;
    }
    if (text.substr(0, 6) == "dword:") {
        std::optional<std::uint32_t> number = ParseHexNumber(text.substr(6), 8);
        if (!number)
            return std::nullopt;
        value.type = kTypeDword;
        for (int shift = 0; shift < 32; shift += 8)
            value.data += static_cast<char>((*number >> shift) & 0xFF);
        return value;
    }
    if (text.substr(0, 4) == "hex:") {
        value.type = kTypeBinary;
        text.remove_prefix(4);
    } else if (text.substr(0, 4) == "hex(") {
        const std::size_t close = text.find("):");
        if (close == std::string_view::npos)
            return std::nullopt;
        std::optional<std::uint32_t> type = ParseHexNumber(text.substr(4, close - 4), 8);
        if (!type)
            return std::nullopt;
        value.type = *type;
        text.remove_prefix(close + 2);
    } else {
        return std::nullopt;
    }
    std::optional<std::string> bytes = ParseHexBytes(text);
    if (!bytes)
        return std::nullopt;
    value.data = std::move(*bytes);
    return value;
}

// `"name"=data` or `@=data` (the joined logical line).
std::optional<Value> ParseValueLine(std::string_view line)
{
    std::string name;
    std::size_t used = 0;
    if (!line.empty() && line.front() == '@') {
        used = 1;
    } else if (!line.empty() && line.front() == '"') {
        std::optional<std::string> quoted = ParseQuoted(line, used);
        if (!quoted)
            return std::nullopt;
        name = std::move(*quoted);
    } else {
        return std::nullopt;
    }
    std::string_view rest = Trimmed(line.substr(used));
    if (rest.empty() || rest.front() != '=')
        return std::nullopt;
    std::optional<Value> value = ParseData(Trimmed(rest.substr(1)));
    if (value)
        value->name = std::move(name);
    return value;
}

bool IsPrintableText(const std::string& data)
{
    if (data.empty() || data.back() != '\0')
        return false;
    for (std::size_t i = 0; i + 1 < data.size(); ++i) {
        const auto c = static_cast<unsigned char>(data[i]);
        if (c < 0x20 || c > 0x7E)
            return false;
    }
    return true;
}

std::string Quote(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out + '"';
}

std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::size_t length = end == std::string_view::npos ? text.size() : end + 1;
        lines.push_back(text.substr(0, length));
        text.remove_prefix(length);
    }
    return lines;
}

std::string WithLineEnd(std::string_view line)
{
    std::string out(line);
    if (out.empty() || out.back() != '\n')
        out += '\n';
    return out;
}

bool IsBlank(const std::string& raw)
{
    return Trimmed(raw).empty();
}

} // namespace

std::string NormaliseKey(std::string_view key)
{
    while (!key.empty() && key.back() == '\\')
        key.remove_suffix(1);
    return std::string(key);
}

CRegFile CRegFile::Parse(std::string_view text)
{
    CRegFile file;
    const std::vector<std::string_view> lines = SplitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = Trimmed(lines[i]);
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            Section section;
            section.header = WithLineEnd(lines[i]);
            const std::string_view inner = line.substr(1, line.size() - 2);
            if (inner.empty() || inner.front() != '-')
                section.key = NormaliseKey(inner);
            file.m_sections.push_back(std::move(section));
            continue;
        }
        if (file.m_sections.empty()) {
            file.m_preamble.push_back(WithLineEnd(lines[i]));
            continue;
        }
        Entry entry;
        entry.raw = WithLineEnd(lines[i]);
        if (!line.empty() && (line.front() == '"' || line.front() == '@')) {
            // Long hex data continues on the next lines after a trailing backslash. A blank line
            // or the end of the text ends the value all the same and is no part of it, so that it
            // stays when the value is rewritten.
            std::string logical(line);
            std::size_t last = i;
            while (!logical.empty() && logical.back() == '\\') {
                logical.pop_back();
                if (last + 1 == lines.size() || Trimmed(lines[last + 1]).empty())
                    break;
                ++last;
                logical += Trimmed(lines[last]);
            }
            // The continuation lines belong to the value even when it does not parse, so that
            // each line is looked at once, however many lines end with a backslash.
            for (std::size_t k = i + 1; k <= last; ++k)
                entry.raw += WithLineEnd(lines[k]);
            entry.value = ParseValueLine(logical);
            i = last;
        }
        file.m_sections.back().entries.push_back(std::move(entry));
    }
    return file;
}

std::string CRegFile::Serialize() const
{
    std::string out;
    if (m_preamble.empty())
        out = "REGEDIT4\n\n";
    for (const std::string& line : m_preamble)
        out += line;
    for (const Section& section : m_sections) {
        out += section.header;
        for (const Entry& entry : section.entries)
            out += entry.raw;
    }
    return out;
}

bool CRegFile::HasKey(std::string_view key) const
{
    const std::string wanted = NormaliseKey(key);
    for (const Section& section : m_sections) {
        if (!section.key.empty() && base::EqualsIgnoringAsciiCase(section.key, wanted))
            return true;
    }
    return false;
}

const Value* CRegFile::Find(std::string_view key, std::string_view name) const
{
    const std::string wanted = NormaliseKey(key);
    const Value* found = nullptr;
    for (const Section& section : m_sections) {
        if (section.key.empty() || !base::EqualsIgnoringAsciiCase(section.key, wanted))
            continue;
        for (const Entry& entry : section.entries) {
            if (entry.value && base::EqualsIgnoringAsciiCase(entry.value->name, name))
                found = &*entry.value;
        }
    }
    return found;
}

std::vector<Value> CRegFile::Values(std::string_view key) const
{
    const std::string wanted = NormaliseKey(key);
    std::vector<Value> values;
    for (const Section& section : m_sections) {
        if (section.key.empty() || !base::EqualsIgnoringAsciiCase(section.key, wanted))
            continue;
        for (const Entry& entry : section.entries) {
            if (!entry.value)
                continue;
            std::erase_if(values, [&](const Value& v) { return base::EqualsIgnoringAsciiCase(v.name, entry.value->name); });
            values.push_back(*entry.value);
        }
    }
    return values;
}

void CRegFile::Set(std::string_view key, const Value& value)
{
    const std::string wanted = NormaliseKey(key);
    Entry* target = nullptr;
    Section* lastSection = nullptr;
    for (Section& section : m_sections) {
        if (section.key.empty() || !base::EqualsIgnoringAsciiCase(section.key, wanted))
            continue;
        lastSection = &section;
        for (Entry& entry : section.entries) {
            if (entry.value && base::EqualsIgnoringAsciiCase(entry.value->name, value.name))
                target = &entry;
        }
    }
    Entry fresh{FormatValue(value), value};
    if (target) {
        *target = std::move(fresh);
        return;
    }
    if (!lastSection) {
        // A new key starts on its own paragraph.
        std::string header = "[" + wanted + "]\n";
        if (!m_sections.empty() && !m_sections.back().entries.empty() &&
            !IsBlank(m_sections.back().entries.back().raw))
            header.insert(0, "\n");
        m_sections.push_back(Section{header, wanted, {}});
        m_sections.back().entries.push_back(std::move(fresh));
        m_sections.back().entries.push_back(Entry{"\n", std::nullopt});
        return;
    }
    // Into the key's paragraph, before the blank lines that close it.
    auto at = lastSection->entries.end();
    while (at != lastSection->entries.begin() && !(at - 1)->value && IsBlank((at - 1)->raw))
        --at;
    lastSection->entries.insert(at, std::move(fresh));
}

bool CRegFile::Remove(std::string_view key, std::string_view name)
{
    const std::string wanted = NormaliseKey(key);
    bool removed = false;
    for (Section& section : m_sections) {
        if (section.key.empty() || !base::EqualsIgnoringAsciiCase(section.key, wanted))
            continue;
        std::erase_if(section.entries, [&](const Entry& entry) {
            const bool match = entry.value && base::EqualsIgnoringAsciiCase(entry.value->name, name);
            removed = removed || match;
            return match;
        });
    }
    return removed;
}

std::string CRegFile::FormatValue(const Value& value)
{
    std::string line = value.name.empty() ? "@=" : Quote(value.name) + "=";
    if (value.type == kTypeSz && IsPrintableText(value.data))
        return line + Quote(std::string_view(value.data).substr(0, value.data.size() - 1)) + "\n";
    char buffer[32];
    if (value.type == kTypeDword && value.data.size() == 4) {
        std::uint32_t number = 0;
        for (int i = 3; i >= 0; --i)
            number =
                number << 8 | static_cast<unsigned char>(value.data[static_cast<std::size_t>(i)]);
        std::snprintf(buffer, sizeof buffer, "dword:%08x\n", static_cast<unsigned>(number));
        return line + buffer;
    }
    if (value.type == kTypeBinary)
        line += "hex:";
    else {
        std::snprintf(buffer, sizeof buffer, "hex(%x):", static_cast<unsigned>(value.type));
        line += buffer;
    }
    for (std::size_t i = 0; i < value.data.size(); ++i) {
        std::snprintf(buffer, sizeof buffer, "%02x", static_cast<unsigned char>(value.data[i]));
        line += buffer;
        if (i + 1 < value.data.size())
            line += (i + 1) % kHexBytesPerLine == 0 ? ",\\\n  " : ",";
    }
    return line + "\n";
}

} // namespace tickerlux::settings::regfile
