#include "settings/UserSettings.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <sys/stat.h>

using namespace tickerlux;
using namespace tickerlux::settings;
using namespace tickerlux::test;

namespace {

const std::string kHead = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Orvane\\Newsglow]\n";
const std::string kClassic = "\"Connection\"=\"serial port - betabrite classic\"\n";

void WriteStore(const CScopedConfigHome& home, const std::string& text)
{
    ASSERT_FALSE(MakeUserStoreFolder().Failed());
    WriteFileBytes(home.StoreFile(), text);
}

// The communication settings as `config` prints them, and the cleanup switch.
std::string Printed(const UserSettings& s)
{
    const CommSettings& c = s.Comm;
    return (c.HasConnection() ? "stored " : "defaults ") + c.Protocol + "|" + c.ConnectionText() +
           "|" + std::to_string(c.ComPort) + "|" + std::to_string(c.BaudRate) + "|" +
           std::to_string(c.ByteSize) + "|" + ParityName(c.Parity) + "|" +
           std::to_string(static_cast<int>(c.StopBits)) + "|cleanup " +
           (s.HeadlineCleanup ? "on" : "off");
}

struct LoadCase {
    const char* name;
    std::string file;  // nothing stored when empty
    base::FailureKind failure;
    std::string printed;
};

void PrintTo(const LoadCase& c, std::ostream* os)
{
    *os << c.name;
}

class UserSettingsLoadTest : public testing::TestWithParam<LoadCase> {};

TEST_P(UserSettingsLoadTest, ReadsWhatIsStored)
{
    CScopedConfigHome home;
    const LoadCase& c = GetParam();
    if (!c.file.empty())
        WriteStore(home, c.file);
    const LoadedUserSettings loaded = LoadUserSettings();
    EXPECT_EQ(loaded.failure.kind, c.failure) << loaded.failure.Text();
    if (c.failure == base::FailureKind::None)
        EXPECT_EQ(Printed(loaded.settings), c.printed);
    else
        EXPECT_NE(loaded.failure.Text().find(home.StoreFile()), std::string::npos);
}

const std::string kDefaults = "defaults alpha||1|9600|7|even|1|cleanup on";

INSTANTIATE_TEST_SUITE_P(
    Store, UserSettingsLoadTest,
    testing::Values(
        LoadCase{"FirstRun", "", base::FailureKind::None, kDefaults},
        LoadCase{"EmptyConnectionStopsTheLoad",
                 kHead + "\"Connection\"=\"\"\n\"ComPort\"=dword:00000005\n",
                 base::FailureKind::None, kDefaults},
        LoadCase{"ProtocolIsNeverRead",
                 kHead + "\"Protocol\"=\"beta\"\n\"Connection\"=\"serial port - custom settings\"\n"
                         "\"ComPort\"=dword:0000000c\n\"BaudRate\"=dword:00004b00\n"
                         "\"ByteSize\"=dword:00000008\n\"Parity\"=\"odd\"\n\"StopBits\"=dword:00000002\n",
                 base::FailureKind::None,
                 "stored alpha|serial port - custom settings|12|19200|8|odd|2|cleanup on"},
        LoadCase{"ShortNumbersReplaceTheLowBytesOfTheDefault",
                 kHead + kClassic + "\"BaudRate\"=hex(4):01\n\"ComPort\"=hex:07,00\n",
                 base::FailureKind::None,
                 "stored alpha|serial port - betabrite classic|7|9473|7|even|1|cleanup on"},
        LoadCase{"ValuesLargerThanTheirBuffersGiveTheDefaults",
                 kHead + kClassic + "\"ByteSize\"=hex(4):08,00,00,00,00\n\"Parity\"=\"" +
                     std::string(1200, 'o') + "\"\n",
                 base::FailureKind::None,
                 "stored alpha|serial port - betabrite classic|1|9600|7|even|1|cleanup on"},
        LoadCase{"AnUnnamedConnectionIsKeptAsStoredAndCutAt999Bytes",
                 kHead + "\"Connection\"=hex(1):" + [] {
                     std::string hex;
                     for (int i = 0; i < 1000; ++i)
                         hex += i ? ",71" : "71";
                     return hex;
                 }() + "\n",
                 base::FailureKind::None,
                 "stored alpha|" + std::string(999, 'q') + "|1|9600|7|even|1|cleanup on"},
        LoadCase{"BlankAndUnsetLineValues",
                 kHead + kClassic + "\"Parity\"=\" \"\n\"StopBits\"=dword:00000000\n",
                 base::FailureKind::None,
                 "stored alpha|serial port - betabrite classic|1|9600|7| |0|cleanup on"},
        LoadCase{"HeadlineCleanupOffOnlyForZero",
                 kHead + "\"HeadlineCleanup\"=dword:00000000\n", base::FailureKind::None,
                 "defaults alpha||1|9600|7|even|1|cleanup off"},
        LoadCase{"HeadlineCleanupTwoIsOn", kHead + "\"HeadlineCleanup\"=dword:00000002\n",
                 base::FailureKind::None, kDefaults},
        LoadCase{"Garbage", "this is not a registry file\n{\"json\": true}\n",
                 base::FailureKind::None, kDefaults},
        LoadCase{"UnknownParityIsRefused", kHead + kClassic + "\"Parity\"=\"mark\"\n",
                 base::FailureKind::StoreValueInvalid, ""},
        LoadCase{"UnknownStopBitsAreRefused", kHead + kClassic + "\"StopBits\"=dword:00000003\n",
                 base::FailureKind::StoreValueInvalid, ""}),
    [](const testing::TestParamInfo<LoadCase>& row) { return std::string(row.param.name); });

TEST(UserSettingsLoadTest, AFolderInPlaceOfTheStoreIsUnreadable)
{
    CScopedConfigHome home;
    ASSERT_FALSE(MakeUserStoreFolder().Failed());
    ASSERT_EQ(mkdir(home.StoreFile().c_str(), 0700), 0);
    EXPECT_EQ(LoadUserSettings().failure.kind, base::FailureKind::StoreUnreadable);
    EXPECT_EQ(UpdateUserSettings([](UserSettings& s) { s.HeadlineCleanup = false; }).kind,
              base::FailureKind::StoreUnreadable);
}

struct SaveCase {
    const char* name;
    std::string before;  // the file before, or nothing
    std::function<void(UserSettings&)> change;
    std::string after;
};

void PrintTo(const SaveCase& c, std::ostream* os)
{
    *os << c.name;
}

class UserSettingsSaveTest : public testing::TestWithParam<SaveCase> {};

TEST_P(UserSettingsSaveTest, WritesOnlyWhatChangedAndKeepsEveryOtherLine)
{
    CScopedConfigHome home;
    const SaveCase& c = GetParam();
    if (!c.before.empty())
        WriteStore(home, c.before);
    ASSERT_FALSE(UpdateUserSettings(c.change).Failed());
    EXPECT_EQ(ReadFileBytes(home.StoreFile()), c.after);
}

const std::string kClassicSet = "\"Protocol\"=\"alpha\"\n" + kClassic +
                                "\"ComPort\"=dword:00000003\n\"BaudRate\"=dword:00002580\n"
                                "\"ByteSize\"=dword:00000007\n\"Parity\"=\"even\"\n"
                                "\"StopBits\"=dword:00000001\n";

INSTANTIATE_TEST_SUITE_P(
    Store, UserSettingsSaveTest,
    testing::Values(
        SaveCase{"TheSevenCommValuesInTheirOrder", "",
                 [](UserSettings& s) {
                     s.Comm.ChooseKind(ConnectionKind::ClassicSerial);
                     s.Comm.ComPort = 3;
                 },
                 kHead + kClassicSet + "\n"},
        SaveCase{"UsbStoresPortOneAndAnEmptyParity", "",
                 [](UserSettings& s) { s.Comm.ChooseKind(ConnectionKind::Usb); },
                 kHead + "\"Protocol\"=\"alpha\"\n\"Connection\"=\"usb - betabrite prism\"\n"
                         "\"ComPort\"=dword:00000001\n\"BaudRate\"=dword:00000000\n"
                         "\"ByteSize\"=dword:00000000\n\"Parity\"=\"\"\n"
                         "\"StopBits\"=dword:00000000\n\n"},
        SaveCase{"HeadlineCleanupAloneWritesOnlyItself", "",
                 [](UserSettings& s) { s.HeadlineCleanup = false; },
                 kHead + "\"HeadlineCleanup\"=dword:00000000\n\n"},
        SaveCase{"ADamagedFileKeepsItsLines",
                 "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Orvane\\Newsglow]\r\n"
                 "@@@ garbage @@@\r\n\"Connection\"=dword:xyz\r\n\"Other\"=hex:01,\\\n  02\\\n\n"
                 "[HKEY_CURRENT_USER\\Software\\Other]\n\"B\"=\"b\"\n",
                 [](UserSettings& s) { s.HeadlineCleanup = false; },
                 "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Orvane\\Newsglow]\r\n"
                 "@@@ garbage @@@\r\n\"Connection\"=dword:xyz\r\n\"Other\"=hex:01,\\\n  02\\\n"
                 "\"HeadlineCleanup\"=dword:00000000\n\n"
                 "[HKEY_CURRENT_USER\\Software\\Other]\n\"B\"=\"b\"\n"},
        SaveCase{"NothingChangedWritesNothing", kHead + kClassicSet,
                 [](UserSettings& s) { s.Comm.ComPort = 3; }, kHead + kClassicSet},
        SaveCase{"ARecentFileListOfOneRemovesTheOthers",
                 "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Local AppWizard-Generated "
                 "Applications\\Newsglow\\Recent File List]\n\"File1\"=\"/a.tlx\"\n"
                 "\"File2\"=\"/b.tlx\"\n",
                 [](UserSettings& s) { s.RecentFiles = {"/c.tlx"}; },
                 "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Local AppWizard-Generated "
                 "Applications\\Newsglow\\Recent File List]\n\"File1\"=\"/c.tlx\"\n"}),
    [](const testing::TestParamInfo<SaveCase>& row) { return std::string(row.param.name); });

} // namespace
