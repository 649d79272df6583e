// The USB link through the real dlopen path: the test library (tests/link/usbfake) stands in for
// the sign's library and logs every call; usblink-probe runs the link with LD_LIBRARY_PATH
// pointing at one variant of it. The last tests load our own libusb library.
#include "tests/support/RunProgram.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <filesystem>
#include <ostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

using namespace tickerlux;
using namespace tickerlux::test;

namespace {

using Env = std::vector<std::pair<std::string, std::string>>;
using Lines = std::vector<std::string>;

const std::string kLoadFailed =
    "message Error opening libbetabriteusb.so -- please find it where this program was installed "
    "and try copying it to /usr/local/lib or /usr/lib or some similar system directory and "
    "re-run this program.";
const std::string kOpenMissing = "message Error connecting to USB Open() function";
const std::string kOpenFailed =
    "message Failed to Open the USB connection to the LED sign -- some other program may be "
    "using the LED sign, or the sign needs to be re-connected, or the computer needs to be "
    "rebooted.";
const std::string kWriteMissing = "message Error connecting to USB Write() function";
const std::string kReadMissing = "message Error connecting to USB Read() function";
const std::string kCloseMissing = "message Error connecting to USB Close() function";

// Every byte value, in an order that shows a piece copied from the wrong offset.
std::string Transmission(int length)
{
    std::string bytes;
    for (int i = 0; i < length; ++i)
        bytes.push_back(static_cast<char>((i * 7 + 3) & 0xff));
    return bytes;
}

std::string FakeFolder(const std::string& variant)
{
    return BuildDir() + "/tests/link/usbfake/" + variant;
}

std::string Unhex(const std::string& hex)
{
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

template <class Case>
std::string CaseName(const testing::TestParamInfo<Case>& row)
{
    return row.param.name;
}

struct ProbeRun {
    bool result = false;
    // Library calls and what the user saw, in order; a write shows as "write COUNT".
    Lines timeline;
    // The bytes of all writes, joined.
    std::string written;
    // The document's serial settings afterwards.
    std::string settings;
};

ProbeRun RunProbe(const std::string& mode, const std::string& libraryFolder,
                  const std::string& transmission, Env env = {})
{
    CTempDir dir;
    const std::string log = dir.File("calls.log");
    env.emplace_back("LD_LIBRARY_PATH", libraryFolder);
    env.emplace_back("TICKERLUX_USBFAKE_LOG", log);
    const ProgramResult run = RunProgram({FakeFolder("usblink-probe"), mode}, env, transmission);
    EXPECT_EQ(run.exitCode, 0) << run.err;

    ProbeRun probe;
    std::istringstream out(run.out);
    for (std::string line; std::getline(out, line);) {
        if (line.rfind("result ", 0) == 0)
            probe.result = line == "result 1";
        else
            probe.settings = line;
    }
    if (!std::filesystem::exists(log))
        return probe;
    std::istringstream lines(ReadFileBytes(log));
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string word, count, hex;
        words >> word;
        if (word == "write") {
            words >> count >> hex;
            probe.written += Unhex(hex);
            line = word + " " + count;
        }
        probe.timeline.push_back(line);
    }
    return probe;
}

ProbeRun SendViaUsb(const std::string& libraryFolder, const std::string& transmission,
                    Env env = {})
{
    return RunProbe("send-via-usb", libraryFolder, transmission, std::move(env));
}

// No folder on LD_LIBRARY_PATH holds the library; the test is moot where the system has one.
bool LibraryInstalled()
{
    void* installed = dlopen("libbetabriteusb.so", RTLD_NOW | RTLD_LOCAL);
    if (installed)
        dlclose(installed);
    return installed != nullptr;
}

// ---------------------------------------------------------------------------------------------
// Pieces of at most 256 bytes, each followed by one read.

struct PiecesCase {
    const char* name;
    int length;
    std::vector<int> pieces;
};

void PrintTo(const PiecesCase& c, std::ostream* os)
{
    *os << c.name;
}

std::vector<int> FullPiecesThen(int fullPieces, int rest)
{
    std::vector<int> pieces(static_cast<std::size_t>(fullPieces), 256);
    pieces.push_back(rest);
    return pieces;
}

class UsbPiecesTest : public testing::TestWithParam<PiecesCase> {};

TEST_P(UsbPiecesTest, EveryByteGoesInOrderWithAReadAfterEachPiece)
{
    const PiecesCase& c = GetParam();
    const std::string transmission = Transmission(c.length);
    const ProbeRun run = SendViaUsb(FakeFolder("full"), transmission);

    Lines expected = {"load", "open 1"};
    for (int piece : c.pieces) {
        expected.push_back("write " + std::to_string(piece));
        expected.push_back("read 1");
    }
    expected.insert(expected.end(), {"close", "unload"});
    EXPECT_EQ(run.timeline, expected);
    EXPECT_EQ(run.written, transmission);
    EXPECT_TRUE(run.result);
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, UsbPiecesTest,
    testing::Values(PiecesCase{"Clear28", 28, {28}}, PiecesCase{"Exactly256", 256, {256}},
                    PiecesCase{"Bytes257", 257, {256, 1}},
                    PiecesCase{"Bytes600", 600, {256, 256, 88}},
                    PiecesCase{"LongestText60033", 60033, FullPiecesThen(234, 129)}),
    CaseName<PiecesCase>);

// ---------------------------------------------------------------------------------------------
// Failures: what the user is told, in which order, and what the library still sees. The messages
// come once the library has closed the sign and been unloaded, so no message box holds the sign.

struct FailureCase {
    const char* name;
    const char* variant;
    Env env;
    Lines timeline;
};

void PrintTo(const FailureCase& c, std::ostream* os)
{
    *os << c.name;
}

class UsbFailureTest : public testing::TestWithParam<FailureCase> {};

TEST_P(UsbFailureTest, ReportsOnceInOrderAndStillClosesAndUnloads)
{
    const FailureCase& c = GetParam();
    const ProbeRun run = SendViaUsb(FakeFolder(c.variant), Transmission(600), c.env);
    EXPECT_EQ(run.timeline, c.timeline);
    EXPECT_FALSE(run.result);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UsbFailureTest,
    testing::Values(
        FailureCase{"SecondWriteRefused",
                    "full",
                    {{"TICKERLUX_USBFAKE_FAIL_WRITE", "2"}},
                    {"load", "open 1", "write 256", "read 1", "write 256", "read 1", "close",
                     "unload"}},
        FailureCase{"NegativeWriteResult",
                    "full",
                    {{"TICKERLUX_USBFAKE_FAIL_WRITE", "1"}, {"TICKERLUX_USBFAKE_FAIL_RESULT", "-5"}},
                    {"load", "open 1", "write 256", "read 1", "close", "unload"}},
        FailureCase{"OpenReturnsZero",
                    "full",
                    {{"TICKERLUX_USBFAKE_OPEN", "0"}},
                    {"load", "open 0", "close", "unload", kOpenFailed}},
        FailureCase{"OpenReturnsZeroWithoutWrite",
                    "without-write",
                    {{"TICKERLUX_USBFAKE_OPEN", "0"}},
                    {"load", "open 0", "close", "unload", kOpenFailed, kWriteMissing}},
        FailureCase{"WithoutOpen", "without-open", {}, {"load", "unload", kOpenMissing}},
        FailureCase{"WithoutRead", "without-read", {}, {"load", "open 1", "close", "unload",
                                                        kReadMissing}},
        FailureCase{"WithoutClose",
                    "without-close",
                    {},
                    {"load", "open 1", "write 256", "read 1", "write 256", "read 1", "write 88",
                     "read 1", "unload", kCloseMissing}}),
    CaseName<FailureCase>);

// Any nonzero open result counts as open.
TEST(UsbOpenResult, NegativeCountsAsOpen)
{
    const ProbeRun run = SendViaUsb(FakeFolder("full"), Transmission(28),
                                  {{"TICKERLUX_USBFAKE_OPEN", "-1"}});
    EXPECT_EQ(run.timeline, (Lines{"load", "open -1", "write 28", "read 1", "close", "unload"}));
    EXPECT_TRUE(run.result);
}

TEST(UsbNoLibrary, ExactlyOneMessageAndNothingLookedUp)
{
    if (LibraryInstalled())
        GTEST_SKIP() << "a libbetabriteusb.so is installed on this system";
    const ProbeRun run = SendViaUsb(FakeFolder("none"), Transmission(600));
    // Only the message reaches the log: no library ran a constructor, open or close.
    EXPECT_EQ(run.timeline, (Lines{kLoadFailed}));
    EXPECT_FALSE(run.result);
}

// ---------------------------------------------------------------------------------------------
// The sign link's USB path: the bounded pump after every delivery, a failure reported to the
// front end, the serial settings left alone, and no second update started from the pump.

const std::string kNotDelivered = "failed USB sign: the transmission was not delivered";

struct SignLinkCase {
    const char* name;
    const char* folder;
    Env env;
    Lines timeline;
};

void PrintTo(const SignLinkCase& c, std::ostream* os)
{
    *os << c.name;
}

class UsbSignLinkTest : public testing::TestWithParam<SignLinkCase> {};

TEST_P(UsbSignLinkTest, PumpsAfterTheDeliveryAndLeavesTheSerialSettingsAlone)
{
    const SignLinkCase& c = GetParam();
    if (std::string(c.folder) == "none" && LibraryInstalled())
        GTEST_SKIP() << "a libbetabriteusb.so is installed on this system";
    const ProbeRun run = RunProbe("send-to-sign", FakeFolder(c.folder), Transmission(28), c.env);
    EXPECT_EQ(run.timeline, c.timeline);
    EXPECT_EQ(run.settings, "ComPort=0 BaudRate=0 ByteSize=6 Parity=");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UsbSignLinkTest,
    testing::Values(
        SignLinkCase{"Delivered",
                     "full",
                     {},
                     {"load", "open 1", "write 28", "read 1", "close", "unload", "pump 10"}},
        SignLinkCase{"OpenFails",
                     "full",
                     {{"TICKERLUX_USBFAKE_OPEN", "0"}},
                     {"load", "open 0", "close", "unload", kOpenFailed, "pump 10",
                      kNotDelivered}},
        SignLinkCase{"NoLibrary", "none", {}, {kLoadFailed, "pump 10", kNotDelivered}}),
    CaseName<SignLinkCase>);

TEST(UsbSignLinkPump, UpdateArrivingInThePumpIsRefused)
{
    const ProbeRun run = RunProbe("clear-with-tick", FakeFolder("full"), {});
    EXPECT_EQ(run.timeline, (Lines{"load", "open 1", "write 28", "read 1", "close", "unload",
                                   "pump 10", "tick refused"}));
}

// ---------------------------------------------------------------------------------------------
// Our own library over libusb.

std::string RealLibrary()
{
    return BuildDir() + "/usb/libbetabriteusb.so";
}

std::size_t EntriesIn(const char* folder)
{
    const std::filesystem::directory_iterator entries(folder);
    return static_cast<std::size_t>(std::distance(begin(entries), end(entries)));
}

TEST(BetaBriteUsbLibrary, ExportsOnlyTheFourEntryPoints)
{
    const ProgramResult nm = RunProgram({"/usr/bin/nm", "-D", "--defined-only", RealLibrary()});
    ASSERT_EQ(nm.exitCode, 0) << nm.err;
    std::istringstream lines(nm.out);
    Lines names;
    for (std::string address, type, name; lines >> address >> type >> name;)
        names.push_back(name);
    EXPECT_EQ(names, (Lines{"USBBULK_Close", "USBBULK_Open", "USBBULK_Read", "USBBULK_Write"}));
}

TEST(BetaBriteUsbLibrary, OpenWithoutASignFailsCleanly)
{
    void* library = dlopen(RealLibrary().c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    const auto open = reinterpret_cast<int (*)()>(dlsym(library, "USBBULK_Open"));
    const auto write = reinterpret_cast<int (*)(const unsigned char*, int)>(dlsym(library, "USBBULK_Write"));
    const auto read = reinterpret_cast<int (*)(unsigned char*, int)>(dlsym(library, "USBBULK_Read"));
    const auto close = reinterpret_cast<int (*)()>(dlsym(library, "USBBULK_Close"));
    ASSERT_TRUE(open && write && read && close);

    // libusb's context holds descriptors and an event thread: both must be gone again.
    const std::size_t descriptors = EntriesIn("/proc/self/fd");
    const std::size_t threads = EntriesIn("/proc/self/task");
    if (open() != 0) {
        close();
        dlclose(library);
        GTEST_SKIP() << "a BetaBrite Prism sign is attached";
    }
    EXPECT_EQ(EntriesIn("/proc/self/fd"), descriptors);
    EXPECT_EQ(EntriesIn("/proc/self/task"), threads);

    const unsigned char piece[4] = {0, 1, 2, 3};
    unsigned char reply[64] = {};
    EXPECT_EQ(write(piece, 4), 0);
    EXPECT_EQ(read(reply, 1), -1);
    EXPECT_EQ(close(), 0);
    EXPECT_EQ(open(), 0);  // a second attempt after a failed one fails the same way
    close();
    EXPECT_EQ(dlclose(library), 0);
}

} // namespace
