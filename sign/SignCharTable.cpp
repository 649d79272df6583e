#include "sign/SignCharTable.h"

#include <iterator>

namespace tickerlux::sign {

namespace {

// Sign code, DOS (code page 437) code and Windows-1252 code of the extended characters, in the
// order the sign's documentation lists them. É appears twice; the first row decides.
constexpr CSignCharTable::Row kExtendedRows[] = {
    {0x20, 0x80, 0xC7}, // Ç
    {0x21, 0x81, 0xFC}, // ü
    {0x22, 0x82, 0xE9}, // é
    {0x23, 0x83, 0xE2}, // â
    {0x24, 0x84, 0xE4}, // ä
    {0x25, 0x85, 0xE0}, // à
    {0x26, 0x86, 0xE5}, // å
    {0x27, 0x87, 0xE7}, // ç
    {0x28, 0x88, 0xEA}, // ê
    {0x29, 0x89, 0xEB}, // ë
    {0x2A, 0x8A, 0xE8}, // è
    {0x2B, 0x8B, 0xEF}, // ï
    {0x2C, 0x8C, 0xEE}, // î
    {0x2D, 0x8D, 0xEC}, // ì
    {0x2E, 0x8E, 0xC4}, // Ä
    {0x2F, 0x8F, 0xC5}, // Å
    {0x30, 0x90, 0xC9}, // É
    {0x31, 0x91, 0xE6}, // æ
    {0x32, 0x92, 0xC6}, // Æ
    {0x33, 0x93, 0xF4}, // ô
    {0x34, 0x94, 0xF6}, // ö
    {0x35, 0x95, 0xF2}, // ò
    {0x36, 0x96, 0xFB}, // û
    {0x37, 0x97, 0xF9}, // ù
    {0x38, 0x98, 0xFF}, // ÿ
    {0x39, 0x99, 0xD6}, // Ö
    {0x3A, 0x9A, 0xDC}, // Ü
    {0x3B, 0x9B, 0xA2}, // ¢
    {0x3C, 0x9C, 0xA3}, // £
    {0x3D, 0x9D, 0xA5}, // ¥
    {0x3E, 0x00, 0x00}, // no Windows form
    {0x3F, 0x9F, 0x83}, // ƒ
    {0x40, 0xA0, 0xE1}, // á
    {0x41, 0xA1, 0xED}, // í
    {0x42, 0xA2, 0xF3}, // ó
    {0x43, 0xA3, 0xFA}, // ú
    {0x44, 0xA4, 0xF1}, // ñ
    {0x45, 0xA5, 0xD1}, // Ñ
    {0x46, 0xA6, 0xAA}, // ª
    {0x47, 0xA7, 0xBA}, // º
    {0x48, 0xA8, 0xBF}, // ¿
    {0x49, 0xF8, 0xB0}, // °
    {0x4A, 0xAD, 0xA1}, // ¡
    {0x4C, 0xED, 0xF8}, // ø
    {0x4D, 0xE9, 0xD8}, // Ø
    {0x57, 0xE1, 0xDF}, // ß
    {0x58, 0x00, 0x00}, // no Windows form
    {0x59, 0x00, 0x00}, // no Windows form
    {0x5A, 0x00, 0xC1}, // Á
    {0x5B, 0x00, 0xC0}, // À
    {0x5C, 0x00, 0xC3}, // Ã
    {0x5D, 0x00, 0xE3}, // ã
    {0x5E, 0x00, 0xC9}, // É (second row; never found by Lookup)
    {0x5F, 0x00, 0xCD}, // Í
    {0x60, 0x00, 0xD5}, // Õ
    {0x61, 0x00, 0xF5}, // õ
};

static_assert(std::size(kExtendedRows) == 56);

} // namespace

CSignCharTable::CSignCharTable()
{
    for (const Row& row : kExtendedRows)
        AddRow(row.signCode, row.dosCode, row.windowsCode);
    // '~' (0x7E) has no plain row.
    for (int byte = 0x20; byte <= 0x7D; ++byte)
        AddRow(byte, byte, byte);
}

bool CSignCharTable::AddRow(int signCode, int dosCode, int windowsCode)
{
    if (m_count >= kCapacity)
        return false;
    m_rows[m_count] = Row{signCode, dosCode, windowsCode};
    ++m_count;
    return true;
}

int CSignCharTable::Lookup(int key) const
{
    for (int i = 0; i < m_count; ++i) {
        if (m_rows[i].windowsCode == key)
            return m_rows[i].signCode;
    }
    return 0;
}

CSignCodeMap::CSignCodeMap(const CSignCharTable& table)
{
    for (int key = 0; key < 256; ++key)
        m_signCode[key] = table.Lookup(key);

    m_extendedWindowsCode.fill(-1);
    for (int i = table.Count() - 1; i >= 0; --i) {  // backwards, so the first row wins
        const CSignCharTable::Row& row = table.GetRow(i);
        const bool extended = row.windowsCode == 0 || row.windowsCode >= 0x80;
        if (extended && row.signCode >= 0 && row.signCode < 256)
            m_extendedWindowsCode[row.signCode] = row.windowsCode;
    }
}

const CSignCodeMap& CSignCodeMap::BuiltIn()
{
    static const CSignCodeMap map{CSignCharTable()};
    return map;
}

} // namespace tickerlux::sign
