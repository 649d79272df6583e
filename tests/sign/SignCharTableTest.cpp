#include "sign/SignCharTable.h"

#include <gtest/gtest.h>

using namespace tickerlux;
using namespace tickerlux::sign;

namespace {

TEST(SignCharTable, HoldsTheBuiltInRowsInOrder)
{
    const CSignCharTable table;
    ASSERT_EQ(table.Count(), 150);
    EXPECT_EQ(table.GetRow(0).windowsCode, 0xC7);  // Ç first
    EXPECT_EQ(table.GetRow(55).windowsCode, 0xF5); // õ last of the extended rows
    for (int byte = 0x20; byte <= 0x7D; ++byte) {
        const CSignCharTable::Row& row = table.GetRow(56 + byte - 0x20);
        EXPECT_EQ(row.signCode, byte);
        EXPECT_EQ(row.dosCode, byte);
        EXPECT_EQ(row.windowsCode, byte);
    }
}

TEST(SignCharTable, FirstMatchingRowWins)
{
    const CSignCharTable table;
    EXPECT_EQ(table.Lookup(0xC9), 0x30);  // É is in rows 17 and 53
    EXPECT_EQ(table.Lookup(0), 0x3E);     // rows 31, 47 and 48 have no Windows code
    EXPECT_EQ(table.Lookup(0xE9), 0x22);
    EXPECT_EQ(table.Lookup('A'), 'A');
    EXPECT_EQ(table.Lookup(0x7E), 0);     // '~' has no row
    EXPECT_EQ(table.Lookup(0x80), 0);
    EXPECT_EQ(table.Lookup('\t'), 0);
}

TEST(SignCharTable, AddRowAppendsBehindTheBuiltInRowsAndStopsWhenFull)
{
    CSignCharTable table;
    EXPECT_TRUE(table.AddRow(0x70, 0, 0x80));   // a new key is found
    EXPECT_TRUE(table.AddRow(0x71, 0, 0xE9));   // an old key keeps its first row
    EXPECT_EQ(table.Lookup(0x80), 0x70);
    EXPECT_EQ(table.Lookup(0xE9), 0x22);
    while (table.Count() < CSignCharTable::kCapacity)
        ASSERT_TRUE(table.AddRow(0x72, 0, 0x81));
    EXPECT_FALSE(table.AddRow(0x73, 0, 0x82));
    EXPECT_EQ(table.Count(), CSignCharTable::kCapacity);
    EXPECT_EQ(table.Lookup(0x82), 0);
}

TEST(SignCodeMap, AgreesWithTheTableForEveryKey)
{
    CSignCharTable table;
    table.AddRow(0x70, 0, 0x80);
    table.AddRow(0x71, 0, 0xC9);
    const CSignCodeMap custom(table);
    const CSignCharTable builtIn;
    for (int key = 0; key < 256; ++key) {
        const auto byte = static_cast<unsigned char>(key);
        EXPECT_EQ(CSignCodeMap::BuiltIn().SignCode(byte), builtIn.Lookup(key)) << key;
        EXPECT_EQ(custom.SignCode(byte), table.Lookup(key)) << key;
    }
}

TEST(SignCodeMap, ExtendedCharactersMapBackToTheFirstWindowsCode)
{
    const CSignCodeMap& map = CSignCodeMap::BuiltIn();
    EXPECT_EQ(map.ExtendedWindowsCode(0x22), 0xE9);
    EXPECT_EQ(map.ExtendedWindowsCode(0x30), 0xC9);
    EXPECT_EQ(map.ExtendedWindowsCode(0x5E), 0xC9);
    EXPECT_EQ(map.ExtendedWindowsCode(0x3E), 0);    // a row without a Windows code
    EXPECT_EQ(map.ExtendedWindowsCode(0x58), 0);
    EXPECT_EQ(map.ExtendedWindowsCode(0x4B), -1);   // only a plain row ('K')
    EXPECT_EQ(map.ExtendedWindowsCode(0x7F), -1);
    // Every Windows code with a row comes back as itself.
    for (int key = 0x80; key < 256; ++key) {
        const int signCode = map.SignCode(static_cast<unsigned char>(key));
        if (signCode != 0) {
            EXPECT_EQ(map.ExtendedWindowsCode(static_cast<unsigned char>(signCode)), key) << key;
        }
    }
}

} // namespace
