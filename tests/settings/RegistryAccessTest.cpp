#include "settings/RegistryAccess.h"
#include "settings/UserStore.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <ostream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace tickerlux;
using namespace tickerlux::settings;
using namespace tickerlux::test;

namespace {

constexpr const char* kKey = "Software\\Orvane\\Newsglow";

bool Write(const std::string& name, std::uint32_t type, const std::string& bytes,
           const std::string& key = kKey)
{
    return CRegistryAccess().WriteValue(bytes.data(), type,
                                        static_cast<std::uint32_t>(bytes.size()),
                                        RegRoot::CurrentUser, key, name);
}

// The value's bytes, or nothing when ReadValue fails with a buffer of `bufferSize`.
std::optional<std::string> Read(const std::string& name, std::uint32_t bufferSize = 8192,
                                const std::string& key = kKey)
{
    std::string buffer(bufferSize, '\0');
    std::uint32_t size = 12345;
    if (!CRegistryAccess().ReadValue(buffer.data(), &size, bufferSize, RegRoot::CurrentUser, key,
                                     name))
        return std::nullopt;
    return buffer.substr(0, size);
}

std::string AllBytes(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i * 37 % 256);
    return bytes;
}

struct ValueCase {
    const char* name;
    std::uint32_t type;
    std::string bytes;
};

void PrintTo(const ValueCase& c, std::ostream* os)
{
    *os << c.name;
}

class TypedValueTest : public testing::TestWithParam<ValueCase> {};

TEST_P(TypedValueTest, ComesBackByteForByte)
{
    CScopedConfigHome home;
    const ValueCase& c = GetParam();
    ASSERT_TRUE(Write("Value", c.type, c.bytes));
    ASSERT_TRUE(Write("After", kRegSz, std::string("next\0", 5)));
    EXPECT_EQ(Read("Value"), c.bytes);
    EXPECT_EQ(Read("After"), std::string("next\0", 5));
    // The type is kept in the file, though reading ignores it.
    const auto store = userstore::Load();
    ASSERT_TRUE(store);
    const regfile::Value* value =
        store->Find("HKEY_CURRENT_USER\\Software\\Orvane\\Newsglow", "Value");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->type, c.type);
}

INSTANTIATE_TEST_SUITE_P(
    Types, TypedValueTest,
    testing::Values(ValueCase{"Text", kRegSz, std::string("serial port - betabrite classic\0", 31)},
                    ValueCase{"TextWithQuoteAndBackslash", kRegSz,
                              std::string("a \"b\" \\c\\\0", 11)},
                    ValueCase{"TextWithWindows1252Bytes", kRegSz, std::string("Caf\xE9 \x80\0", 7)},
                    ValueCase{"TextWithLineBreaks", kRegSz, std::string("one\r\ntwo\0", 9)},
                    ValueCase{"TextWithoutTerminator", kRegSz, "even"},
                    ValueCase{"EmptyText", kRegSz, std::string("\0", 1)},
                    ValueCase{"Dword", kRegDword, std::string("\x80\x25\0\0", 4)},
                    ValueCase{"ShortDword", kRegDword, std::string("\x05\x01", 2)},
                    ValueCase{"Binary", kRegBinary, std::string("\0\n\r\"\\\xFF", 6)},
                    ValueCase{"EmptyBinary", kRegBinary, ""},
                    ValueCase{"OtherType", 7, std::string("a\0b\0\0", 5)},
                    ValueCase{"ThreeThousandBytes", kRegBinary, AllBytes(3000)}),
    [](const testing::TestParamInfo<ValueCase>& row) { return std::string(row.param.name); });

TEST(RegistryAccessTest, MissingKeyFailsWithoutTouchingTheSize)
{
    CScopedConfigHome home;
    char buffer[8] = "xxxxxxx";
    std::uint32_t size = 77;
    EXPECT_FALSE(CRegistryAccess().ReadValue(buffer, &size, sizeof buffer, RegRoot::CurrentUser,
                                             kKey, "Connection"));
    EXPECT_EQ(size, 77u);
    EXPECT_STREQ(buffer, "xxxxxxx");
}

TEST(RegistryAccessTest, MissingOrOversizedValueFailsWithSizeZeroAndBufferUntouched)
{
    CScopedConfigHome home;
    ASSERT_TRUE(Write("Big", kRegBinary, AllBytes(1001)));
    char buffer[1000];
    std::memset(buffer, 'q', sizeof buffer);
    for (const char* name : {"Big", "Missing"}) {
        std::uint32_t size = 77;
        EXPECT_FALSE(CRegistryAccess().ReadValue(buffer, &size, sizeof buffer, RegRoot::CurrentUser,
                                                 kKey, name));
        EXPECT_EQ(size, 0u) << name;
    }
    EXPECT_EQ(std::string(buffer, sizeof buffer), std::string(sizeof buffer, 'q'));
    EXPECT_EQ(Read("Big", 1001), AllBytes(1001));
}

TEST(RegistryAccessTest, KeyWithTrailingBackslashAndOtherLetterCaseIsTheSameKey)
{
    CScopedConfigHome home;
    ASSERT_TRUE(
        Write("ComPort", kRegDword, std::string("\x03\0\0\0", 4), std::string(kKey) + "\\"));
    EXPECT_EQ(Read("comport", 16, "SOFTWARE\\orvane\\Newsglow"), std::string("\x03\0\0\0", 4));
    ASSERT_TRUE(Write("COMPORT", kRegDword, std::string("\x04\0\0\0", 4)));
    EXPECT_EQ(Read("ComPort"), std::string("\x04\0\0\0", 4));
}

TEST(RegistryAccessTest, DeleteRemovesOnlyThatValue)
{
    CScopedConfigHome home;
    ASSERT_TRUE(Write("A", kRegSz, std::string("a\0", 2)));
    ASSERT_TRUE(Write("B", kRegSz, std::string("b\0", 2)));
    ASSERT_TRUE(CRegistryAccess().DeleteValue(RegRoot::CurrentUser, kKey, "A"));
    EXPECT_FALSE(Read("A"));
    EXPECT_EQ(Read("B"), std::string("b\0", 2));
    EXPECT_TRUE(CRegistryAccess().DeleteValue(RegRoot::CurrentUser, kKey, "A"));
}

TEST(RegistryAccessTest, AStoreThatCannotBeWrittenFailsTheWrite)
{
    CScopedConfigHome home;
    // A file where the store's folder belongs.
    WriteFileBytes(home.Path() + "/tickerlux", "not a folder");
    EXPECT_FALSE(Write("A", kRegSz, std::string("a\0", 2)));
    EXPECT_EQ(ReadFileBytes(home.Path() + "/tickerlux"), "not a folder");
}

// Two programs writing at once, each many values of its own: every value is there at the end.
TEST(RegistryAccessTest, TwoWritersAtOnceLoseNothing)
{
    CScopedConfigHome home;
    constexpr int kValuesEach = 150;
    std::vector<pid_t> writers;
    for (const char prefix : {'A', 'B'}) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            bool ok = true;
            for (int i = 0; i < kValuesEach; ++i) {
                const std::string name = prefix + std::to_string(i);
                ok = Write(name, kRegSz, name + '\0') && ok;
            }
            _exit(ok ? 0 : 1);
        }
        writers.push_back(pid);
    }
    for (const pid_t pid : writers) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (const char prefix : {'A', 'B'}) {
        for (int i = 0; i < kValuesEach; ++i) {
            const std::string name = prefix + std::to_string(i);
            EXPECT_EQ(Read(name), name + '\0') << name;
        }
    }
}

// A trailing backslash continues a value on the next line, but a blank line is no continuation:
// it stays when the value is rewritten or removed.
TEST(RegistryAccessTest, ABlankLineAfterAValueEndingInABackslashSurvivesAWrite)
{
    CScopedConfigHome home;
    ASSERT_TRUE(Write("Seed", kRegSz, std::string("x\0", 2)));
    const std::string head = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Orvane\\Newsglow]\n";
    const std::string tail = "\n[HKEY_CURRENT_USER\\Software\\Other]\n\"B\"=\"b\"\n";
    WriteFileBytes(home.StoreFile(), head + "\"A\"=hex:01,\\\n  02\\\n" + tail);
    EXPECT_EQ(Read("A"), std::string("\x01\x02", 2));

    ASSERT_TRUE(Write("A", kRegBinary, "\x03"));
    EXPECT_EQ(ReadFileBytes(home.StoreFile()), head + "\"A\"=hex:03\n" + tail);
    ASSERT_TRUE(CRegistryAccess().DeleteValue(RegRoot::CurrentUser, kKey, "A"));
    EXPECT_EQ(ReadFileBytes(home.StoreFile()), head + tail);
}

struct DamageCase {
    const char* name;
    std::string file;
    const char* readable; // a value name that the damage leaves readable, or ""
};

void PrintTo(const DamageCase& c, std::ostream* os)
{
    *os << c.name;
}

class DamagedStoreTest : public testing::TestWithParam<DamageCase> {};

TEST_P(DamagedStoreTest, ReadsWhatItCanAndAWriteKeepsEverything)
{
    CScopedConfigHome home;
    const DamageCase& c = GetParam();
    ASSERT_TRUE(Write("Seed", kRegSz, std::string("x\0", 2)));
    WriteFileBytes(home.StoreFile(), c.file);

    EXPECT_FALSE(Read("Connection"));
    if (*c.readable) {
        EXPECT_TRUE(Read(c.readable)) << c.readable;
    }

    ASSERT_TRUE(Write("ComPort", kRegDword, std::string("\x02\0\0\0", 4)));
    EXPECT_EQ(Read("ComPort"), std::string("\x02\0\0\0", 4));
    // Every line of the damaged file is still there, in order.
    const std::string after = ReadFileBytes(home.StoreFile());
    std::size_t from = 0;
    std::size_t lineStart = 0;
    while (lineStart < c.file.size()) {
        std::size_t lineEnd = c.file.find('\n', lineStart);
        if (lineEnd == std::string::npos)
            lineEnd = c.file.size();
        const std::string line = c.file.substr(lineStart, lineEnd - lineStart);
        const std::size_t at = after.find(line, from);
        ASSERT_NE(at, std::string::npos) << "lost: " << line;
        from = at + line.size();
        lineStart = lineEnd + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Damage, DamagedStoreTest,
    testing::Values(
        DamageCase{"Garbage", "this is not a registry file\n{\"json\": true}\n", ""},
        DamageCase{"Binary", std::string("\0\x01\xFF\xFE[\x80\0\n\0\0", 11), ""},
        DamageCase{"TruncatedInAHexValue",
                   "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Orvane\\Newsglow]\n"
                   "\"ByteSize\"=dword:00000007\n\"Connection\"=hex(1):73,65,\\\n  72,6",
                   "ByteSize"},
        DamageCase{"TruncatedInAText",
                   "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Orvane\\Newsglow]\n"
                   "\"BaudRate\"=dword:00002580\n\"Connection\"=\"serial po",
                   "BaudRate"},
        DamageCase{"GarbageBetweenGoodLines",
                   "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Orvane\\Newsglow]\r\n"
                   "\"Parity\"=\"even\"\r\n@@@ garbage @@@\r\n\"Connection\"=dword:xyz\r\n"
                   "\"StopBits\"=dword:00000001\r\n",
                   "StopBits"}),
    [](const testing::TestParamInfo<DamageCase>& row) { return std::string(row.param.name); });

} // namespace
