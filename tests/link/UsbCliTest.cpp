// tickerlux-cli over a USB connection: the program's own RUNPATH finds our library in the build
// tree, and LD_LIBRARY_PATH, which the loader searches first, puts a variant of the test library
// (tests/link/usbfake) in its place. Every message goes to standard error and a failed delivery
// makes the command exit 1.
#include "tests/support/RunProgram.h"
#include "tests/support/TempDir.h"
#include "tools/pageserver/PageServer.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <filesystem>
#include <ostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

using namespace tickerlux;
using namespace tickerlux::pageserver;
using namespace tickerlux::test;

namespace {

using Env = std::vector<std::pair<std::string, std::string>>;

const std::string kOpenFailed =
    "Failed to Open the USB connection to the LED sign -- some other program may be using the "
    "LED sign, or the sign needs to be re-connected, or the computer needs to be rebooted.\n";
const std::string kOpenMissing = "Error connecting to USB Open() function\n";
const std::string kNotDelivered = "USB sign: the transmission was not delivered\n";

// AddressSanitizer wraps dlopen, and the loader then searches the RUNPATH of the sanitizer's
// runtime instead of the program's: a sanitized build finds our library only through
// LD_LIBRARY_PATH or the system's folders.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kDlopenIntercepted = true;
#elif defined(__has_feature)
constexpr bool kDlopenIntercepted = __has_feature(address_sanitizer);
#else
constexpr bool kDlopenIntercepted = false;
#endif

std::string Cli()
{
    return BuildDir() + "/cli/tickerlux-cli";
}

std::string Repeat(const std::string& text, int times)
{
    std::string all;
    for (int i = 0; i < times; ++i)
        all += text;
    return all;
}

// Whether our library finds a sign here; the tests would then clear a real sign.
bool SignAttached()
{
    void* library = dlopen((BuildDir() + "/usb/libbetabriteusb.so").c_str(), RTLD_NOW);
    if (!library)
        return false;
    const auto open = reinterpret_cast<int (*)()>(dlsym(library, "USBBULK_Open"));
    const auto close = reinterpret_cast<int (*)()>(dlsym(library, "USBBULK_Close"));
    const bool attached = open && close && open() != 0;
    if (close)
        close();
    dlclose(library);
    return attached;
}

struct CliCase {
    const char* name;
    std::vector<std::string> args;
    const char* fakeFolder;  // nullptr: the program finds our real library itself
    Env env;
    int exitCode;
    std::string err;
    int loads;  // libraries loaded, one per command; -1 for the real library
};

void PrintTo(const CliCase& c, std::ostream* os)
{
    *os << c.name;
}

class UsbCliTest : public testing::TestWithParam<CliCase> {};

TEST_P(UsbCliTest, PrintsEveryMessageAndFailsOnAFailedDelivery)
{
    const CliCase& c = GetParam();
    if (!c.fakeFolder && kDlopenIntercepted)
        GTEST_SKIP() << "the sanitizer's dlopen searches its own RUNPATH, not the program's";
    if (!c.fakeFolder && SignAttached())
        GTEST_SKIP() << "a BetaBrite Prism sign is attached";
    CScopedConfigHome home;
    const ProgramResult config = RunProgram({Cli(), "config", "Connection=usb - betabrite prism"});
    ASSERT_EQ(config.exitCode, 0) << config.err;

    CTempDir dir;
    const std::string log = dir.File("calls.log");
    Env env = c.env;
    env.emplace_back("TICKERLUX_USBFAKE_LOG", log);
    if (c.fakeFolder)
        env.emplace_back("LD_LIBRARY_PATH", BuildDir() + "/tests/link/usbfake/" + c.fakeFolder);
    std::vector<std::string> argv = {Cli()};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    const ProgramResult run = RunProgram(argv, env);

    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.err, c.err);
    if (c.loads < 0) {
        EXPECT_FALSE(std::filesystem::exists(log));
        return;
    }
    const std::string calls = std::filesystem::exists(log) ? ReadFileBytes(log) : "";
    std::istringstream lines(calls);
    int loads = 0, unloads = 0;
    for (std::string line; std::getline(lines, line);) {
        loads += line == "load";
        unloads += line == "unload";
    }
    EXPECT_EQ(loads, c.loads) << calls;
    EXPECT_EQ(unloads, c.loads) << calls;
}

const std::string kLongLine = Repeat("headline ", 40);

INSTANTIATE_TEST_SUITE_P(
    Cases, UsbCliTest,
    testing::Values(
        CliCase{"ClearDelivered", {"clear"}, "full", {}, 0, "", 1},
        CliCase{"SendDelivered", {"send", kLongLine}, "full", {}, 0, "", 1},
        CliCase{"ClearOpenFails",
                {"clear"},
                "full",
                {{"TICKERLUX_USBFAKE_OPEN", "0"}},
                1,
                kOpenFailed + kNotDelivered,
                1},
        CliCase{"SendWithoutOpenEntry",
                {"send", "hi"},
                "without-open",
                {},
                1,
                kOpenMissing + kNotDelivered,
                1},
        // Only the write-text transmission is longer than one piece: it alone fails, silently
        // but for the failure line.
        CliCase{"SendSecondPieceRefused",
                {"send", kLongLine},
                "full",
                {{"TICKERLUX_USBFAKE_FAIL_WRITE", "2"}},
                1,
                kNotDelivered,
                1},
        CliCase{"ClearOurLibraryWithoutSign", {"clear"}, nullptr, {}, 1,
                kOpenFailed + kNotDelivered, -1}),
    [](const testing::TestParamInfo<CliCase>& row) { return std::string(row.param.name); });

// update takes the same road: the downloaded headline reaches the library.
TEST(UsbCliUpdate, DeliversTheFeedThroughTheLibrary)
{
    CScopedConfigHome home;
    ASSERT_EQ(RunProgram({Cli(), "config", "Connection=usb - betabrite prism"}).exitCode, 0);
    CPageServer server;
    server.Serve("/news", CPageServer::Page("<h>Alpha</h>"));
    CTempDir dir;
    const std::string feed = dir.File("feed.tlx");
    const ProgramResult set = RunProgram({Cli(), "set", feed, "WebServer=" + server.HostPort(),
                                          "WebPath=/news", "TextBefore=<h>", "TextAfter=</h>"});
    ASSERT_EQ(set.exitCode, 0) << set.err;

    const std::string log = dir.File("calls.log");
    const ProgramResult run =
        RunProgram({Cli(), "update", feed},
                   {{"LD_LIBRARY_PATH", BuildDir() + "/tests/link/usbfake/full"},
                    {"TICKERLUX_USBFAKE_LOG", log}});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const std::string calls = ReadFileBytes(log);
    EXPECT_NE(calls.find("416c706861"), std::string::npos) << "\"Alpha\" was not written";
}

} // namespace
