#pragma once

#include <array>

namespace tickerlux::sign {

// The sign's character set seen from Windows-1252: one row per character, three codes each.
// Lookup is by Windows code and the first matching row wins, so the order of the rows matters.
class CSignCharTable {
public:
    static constexpr int kCapacity = 1000;

    struct Row {
        int signCode = 0;     // after 0x08 for an extended character, else the byte itself
        int dosCode = 0;      // code page 437, 0 where none; kept for completeness, never read
        int windowsCode = 0;  // Windows-1252, 0 where none; the lookup key
    };

    // The 56 extended characters, then one plain row for each byte 0x20 to 0x7D.
    CSignCharTable();
    virtual ~CSignCharTable() = default;

    // Appends one row; a full table keeps its rows and refuses the new one (returns false).
    bool AddRow(int signCode, int dosCode, int windowsCode);

    // The sign code of the first row whose Windows code is `key`, or 0 when none has it.
    int Lookup(int key) const;

    int Count() const { return m_count; }
    const Row& GetRow(int index) const { return m_rows[index]; }

private:
    std::array<Row, kCapacity> m_rows{};
    int m_count = 0;
};

// The first-match answers of a table for every byte key, worked out once: O(1) lookups.
class CSignCodeMap {
public:
    explicit CSignCodeMap(const CSignCharTable& table);

    // The map of the built-in table, built on first use.
    static const CSignCodeMap& BuiltIn();

    // Same result as CSignCharTable::Lookup(key).
    int SignCode(unsigned char key) const { return m_signCode[key]; }

    // The way back from an extended character (the byte after 0x08): the Windows code of the
    // first row that the encoder sends behind 0x08 (Windows code 0 or above 0x7F) with this
    // sign code; 0 when that row has no Windows code, -1 when there is no such row.
    int ExtendedWindowsCode(unsigned char signCode) const { return m_extendedWindowsCode[signCode]; }

private:
    std::array<int, 256> m_signCode{};
    std::array<int, 256> m_extendedWindowsCode{};
};

} // namespace tickerlux::sign
