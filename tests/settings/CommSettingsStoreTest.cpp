#include "settings/CommSettingsStore.h"
#include "settings/RegistryAccess.h"
#include "settings/TickerluxDoc.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

using namespace tickerlux;
using namespace tickerlux::settings;
using namespace tickerlux::test;

namespace {

const CRegistryAccess kRegistry;

void WriteRaw(const std::string& name, std::uint32_t type, const std::string& bytes)
{
    ASSERT_TRUE(kRegistry.WriteValue(bytes.data(), type, static_cast<std::uint32_t>(bytes.size()),
                                     RegRoot::CurrentUser, commstore::kKey, name));
}

std::string ReadRaw(const std::string& name)
{
    std::string buffer(4096, '\0');
    std::uint32_t size = 0;
    EXPECT_TRUE(kRegistry.ReadValue(buffer.data(), &size, 4096, RegRoot::CurrentUser,
                                    commstore::kKey, name))
        << name;
    return buffer.substr(0, size);
}

void ExpectDefaults(const CTickerluxDoc& doc)
{
    EXPECT_EQ(doc.Comm.ComPort, 1);
    EXPECT_EQ(doc.Comm.BaudRate, 9600);
    EXPECT_EQ(doc.Comm.ByteSize, 7);
    EXPECT_EQ(doc.Comm.Parity, "even");
    EXPECT_EQ(doc.Comm.StopBits, 1);
    EXPECT_EQ(doc.Comm.Protocol, "alpha");
}

TEST(CommSettingsStoreTest, FirstRunStoresNothingAndKeepsTheDefaults)
{
    CScopedConfigHome home;
    CTickerluxDoc doc;
    EXPECT_FALSE(commstore::Load(doc.Comm, kRegistry));
    EXPECT_EQ(doc.Comm.Connection, "");
    ExpectDefaults(doc);
}

TEST(CommSettingsStoreTest, AnEmptyConnectionIsLikeAMissingOneAndStopsTheLoad)
{
    CScopedConfigHome home;
    WriteRaw("Connection", kRegSz, std::string("\0", 1));
    WriteRaw("ComPort", kRegDword, std::string("\x05\0\0\0", 4));
    CTickerluxDoc doc;
    EXPECT_FALSE(commstore::Load(doc.Comm, kRegistry));
    EXPECT_EQ(doc.Comm.Connection, "");
    EXPECT_EQ(doc.Comm.ComPort, 1);
}

TEST(CommSettingsStoreTest, UsbSaveStoresPortOneAndAOneByteParity)
{
    CScopedConfigHome home;
    CommSettings values{"alpha", "usb - betabrite prism", 0, 0, 0, "", 0};
    EXPECT_TRUE(commstore::Save(values, kRegistry));
    EXPECT_EQ(values.ComPort, 1);
    EXPECT_EQ(ReadRaw("ComPort"), std::string("\x01\0\0\0", 4));
    EXPECT_EQ(ReadRaw("Parity"), std::string("\0", 1));
    EXPECT_EQ(ReadRaw("Connection"), std::string("usb - betabrite prism\0", 22));

    CTickerluxDoc doc;
    EXPECT_TRUE(commstore::Load(doc.Comm, kRegistry));
    EXPECT_EQ(doc.Comm.Connection, "usb - betabrite prism");
    EXPECT_EQ(doc.Comm.ComPort, 1);
    EXPECT_EQ(doc.Comm.BaudRate, 0);
    EXPECT_EQ(doc.Comm.ByteSize, 0);
    EXPECT_EQ(doc.Comm.Parity, "");
    EXPECT_EQ(doc.Comm.StopBits, 0);
}

TEST(CommSettingsStoreTest, SaveWritesTheSevenValuesInTheirOrderIntoOneKey)
{
    CScopedConfigHome home;
    CommSettings values{"alpha", "serial port - betabrite classic", 3, 9600, 7, "even", 1};
    EXPECT_TRUE(commstore::Save(values, kRegistry));
    EXPECT_EQ(ReadFileBytes(home.StoreFile()),
              "REGEDIT4\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software\\Orvane\\Newsglow]\n"
              "\"Protocol\"=\"alpha\"\n"
              "\"Connection\"=\"serial port - betabrite classic\"\n"
              "\"ComPort\"=dword:00000003\n"
              "\"BaudRate\"=dword:00002580\n"
              "\"ByteSize\"=dword:00000007\n"
              "\"Parity\"=\"even\"\n"
              "\"StopBits\"=dword:00000001\n"
              "\n");
}

TEST(CommSettingsStoreTest, SavedValuesLoadBackButTheProtocolIsNeverRead)
{
    CScopedConfigHome home;
    CommSettings values{"beta", "serial port - custom settings", 12, 19200, 8, "odd", 2};
    EXPECT_TRUE(commstore::Save(values, kRegistry));
    EXPECT_EQ(ReadRaw("Protocol"), std::string("beta\0", 5));
    CTickerluxDoc doc;
    EXPECT_TRUE(commstore::Load(doc.Comm, kRegistry));
    EXPECT_EQ(doc.Comm.Protocol, "alpha");
    EXPECT_EQ(doc.Comm.Connection, "serial port - custom settings");
    EXPECT_EQ(doc.Comm.ComPort, 12);
    EXPECT_EQ(doc.Comm.BaudRate, 19200);
    EXPECT_EQ(doc.Comm.ByteSize, 8);
    EXPECT_EQ(doc.Comm.Parity, "odd");
    EXPECT_EQ(doc.Comm.StopBits, 2);
}

TEST(CommSettingsStoreTest, AShortNumberReplacesOnlyTheLowBytesOfTheDefault)
{
    CScopedConfigHome home;
    WriteRaw("Connection", kRegSz, std::string("serial port - betabrite classic\0", 32));
    WriteRaw("BaudRate", kRegDword, std::string("\x01", 1)); // 9600 is 0x2580
    WriteRaw("ComPort", kRegBinary, std::string("\x07\x00", 2));
    CTickerluxDoc doc;
    EXPECT_TRUE(commstore::Load(doc.Comm, kRegistry));
    EXPECT_EQ(doc.Comm.BaudRate, 0x2501);
    EXPECT_EQ(doc.Comm.ComPort, 7);
}

TEST(CommSettingsStoreTest, ValuesLargerThanTheirBuffersGiveTheDefaults)
{
    CScopedConfigHome home;
    WriteRaw("Connection", kRegSz, std::string("serial port - betabrite classic\0", 32));
    WriteRaw("ByteSize", kRegDword, std::string("\x08\0\0\0\0", 5));
    WriteRaw("Parity", kRegSz, std::string(1200, 'o') + '\0');
    CTickerluxDoc doc;
    EXPECT_TRUE(commstore::Load(doc.Comm, kRegistry));
    EXPECT_EQ(doc.Comm.ByteSize, 7);
    EXPECT_EQ(doc.Comm.Parity, "even");

    WriteRaw("Connection", kRegSz, std::string(1001, 'c'));
    EXPECT_FALSE(commstore::Load(doc.Comm, kRegistry));
    EXPECT_EQ(doc.Comm.Connection, "");
}

TEST(CommSettingsStoreTest, TextsAreCutTo999BytesOnSaveAndLoad)
{
    CScopedConfigHome home;
    const std::string longText(1500, 'p');
    CommSettings values{"alpha", longText, 1, 9600, 7, "even", 1};
    EXPECT_TRUE(commstore::Save(values, kRegistry));
    EXPECT_EQ(ReadRaw("Connection"), std::string(999, 'p') + '\0');
    CTickerluxDoc doc;
    EXPECT_TRUE(commstore::Load(doc.Comm, kRegistry));
    EXPECT_EQ(doc.Comm.Connection, std::string(999, 'p'));

    // A stored text of exactly 1000 bytes with no terminator fits the buffer but never runs past
    // it.
    WriteRaw("Connection", kRegSz, std::string(1000, 'q'));
    EXPECT_TRUE(commstore::Load(doc.Comm, kRegistry));
    EXPECT_EQ(doc.Comm.Connection, std::string(999, 'q'));
}

TEST(CommSettingsStoreTest, HeadlineCleanupIsOnUntilADwordOfZeroIsStored)
{
    CScopedConfigHome home;
    EXPECT_TRUE(commstore::LoadHeadlineCleanup(kRegistry));
    EXPECT_TRUE(commstore::SaveHeadlineCleanup(false, kRegistry));
    EXPECT_FALSE(commstore::LoadHeadlineCleanup(kRegistry));
    EXPECT_EQ(ReadFileBytes(home.StoreFile()),
              "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Orvane\\Newsglow]\n"
              "\"HeadlineCleanup\"=dword:00000000\n\n");
    WriteRaw("HeadlineCleanup", kRegDword, std::string("\x02\0\0\0", 4));
    EXPECT_TRUE(commstore::LoadHeadlineCleanup(kRegistry));
}

} // namespace
