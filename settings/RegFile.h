#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The text of a registry export file ("REGEDIT4", "[key]", "name"=value lines) held so that
// writing it back loses nothing: every line that is not a value being changed is kept exactly as
// it was read, including lines this parser does not understand.
namespace tickerlux::settings::regfile {

// One typed value; `data` holds its bytes exactly.
struct Value {
    std::string name;
    std::uint32_t type = 0;
    std::string data;
};

class CRegFile {
public:
    // Never fails: text that is not a section header or a well-formed value is kept verbatim.
    static CRegFile Parse(std::string_view text);
    std::string Serialize() const;

    // Keys are full paths ("HKEY_CURRENT_USER\Software\..."); trailing backslashes do not count
    // and key and value names compare case-insensitively, as the registry does.
    bool HasKey(std::string_view key) const;
    // The last well-formed value of that name in that key.
    const Value* Find(std::string_view key, std::string_view name) const;
    // Every value of that key, each name once (its last well-formed value), in file order.
    std::vector<Value> Values(std::string_view key) const;
    void Set(std::string_view key, const Value& value);
    // True when a value was removed.
    bool Remove(std::string_view key, std::string_view name);

    // The text form of one value line, wrapped as the export format wraps long hex data.
    static std::string FormatValue(const Value& value);

private:
    struct Entry {
        std::string raw; // the lines as read (or as formatted), each ending with '\n'
        std::optional<Value> value;
    };
    struct Section {
        std::string header; // raw header line
        std::string key;    // normalised key; empty for a "[-key]" deletion
        std::vector<Entry> entries;
    };

    std::vector<std::string> m_preamble;
    std::vector<Section> m_sections;
};

// The key as compared: trailing backslashes removed.
std::string NormaliseKey(std::string_view key);

} // namespace tickerlux::settings::regfile
