// tickerlux-signsim as a program: transmissions written to its pseudo-terminal, its JSON events,
// --count, its port-map entry and the line settings it reports.
#include "tests/support/NonRegularFiles.h"
#include "tests/support/RunProgram.h"
#include "tests/support/SignSimProcess.h"
#include "tests/support/TempDir.h"
#include "tests/tools/DeviceWriter.h"
#include "tests/tools/Frames.h"

#include "settings/UserSettings.h"
#include "tests/support/TestPty.h"

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <csignal>
#include <optional>
#include <ostream>
#include <string>
#include <sys/ioctl.h>
#include <vector>

using namespace tickerlux;
using namespace tickerlux::settings;
using namespace tickerlux::sign;
using namespace tickerlux::test;

namespace {

using frames::Frame;
using Event = CSignSimProcess::Event;

std::string Hex(const std::string& bytes)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const char c : bytes) {
        hex += kDigits[static_cast<unsigned char>(c) >> 4];
        hex += kDigits[static_cast<unsigned char>(c) & 0x0F];
    }
    return hex;
}

std::vector<Event> Named(const std::vector<Event>& events, const std::string& name)
{
    std::vector<Event> named;
    for (const Event& event : events)
        if (event["event"] == name)
            named.push_back(event);
    return named;
}

struct Expected {
    std::string kind;
    std::string error;   // expected within the event's errors; "" for none
};

struct StreamCase {
    const char* name;
    std::vector<std::string> deliveries;   // each written in an open-write-close of its own
    std::vector<Expected> transmissions;
    std::optional<std::string> shown;      // UTF-8 text of the last display event
};

void PrintTo(const StreamCase& c, std::ostream* os)
{
    *os << c.name;
}

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::string Repeat(const std::string& text, int times)
{
    std::string repeated;
    for (int i = 0; i < times; ++i)
        repeated += text;
    return repeated;
}

const std::vector<Expected> kUpdate = {{"memory-config", ""}, {"write-text", ""},
                                       {"run-sequence", ""}};

const StreamCase kStreamCases[] = {
    {"update", frames::Update("Hello Caf\xE9"), kUpdate, "Hello Café"},
    {"clear_after_update", Concat(frames::Update("Hello"), {frames::Clear()}),
     {kUpdate[0], kUpdate[1], kUpdate[2], {"clear", ""}}, ""},
    {"longest_text", frames::Update(std::string(30000, '\xE9')), kUpdate, Repeat("é", 30000)},
    {"memory_config_and_run_sequence_alone", {frames::MemoryConfig(40), frames::RunSequence()},
     {{"memory-config", ""}, {"run-sequence", ""}}, std::nullopt},
    {"cut_short_by_next_transmission",
     Concat({frames::Text("Bye").substr(0, 31)}, frames::Update("Hello")),
     {{"write-text", "cut short"}, kUpdate[0], kUpdate[1], kUpdate[2]}, "Hello"},
    {"cut_short_when_writer_closes",
     Concat(frames::Update("Hello"), {frames::Text("Bye").substr(0, 31)}),
     {kUpdate[0], kUpdate[1], kUpdate[2], {"write-text", "cut short"}}, "Hello"},
    {"text_larger_than_configured_size", {frames::MemoryConfig(8), frames::Text("Hello")},
     {{"memory-config", ""}, {"write-text", "does not fit file A"}}, std::nullopt},
    {"file_missing_from_run_sequence",
     {Frame("E$AAU0100FF00BAU0100FF00"), frames::Text("Hello"), Frame("E.SLB")},
     {{"memory-config", ""}, {"write-text", ""}, {"run-sequence", "missing from the run sequence"}},
     ""},
    {"garbage_before_update", Concat({"hello\r\n\xFF"}, frames::Update("Hello")),
     {{"unknown", "outside any transmission"}, kUpdate[0], kUpdate[1], kUpdate[2]}, "Hello"},
};

class SignSimStreamTest : public testing::TestWithParam<StreamCase> {};

TEST_P(SignSimStreamTest, ReportsEachTransmissionAndTheDisplay)
{
    const StreamCase& c = GetParam();
    CScopedConfigHome home;
    CSignSimProcess sim;
    for (const std::string& delivery : c.deliveries)
        DeliverTo(sim.Device(), delivery);
    for (std::size_t i = 0; i < c.transmissions.size(); ++i)
        ASSERT_TRUE(sim.WaitForEvent("transmission")) << "transmission " << i;
    EXPECT_EQ(sim.Stop(), 0);

    const std::vector<Event> transmissions = Named(sim.Events(), "transmission");
    ASSERT_EQ(transmissions.size(), c.transmissions.size());
    std::string written;
    for (const std::string& delivery : c.deliveries)
        written += delivery;
    std::string reported;
    for (std::size_t i = 0; i < transmissions.size(); ++i) {
        const Event& event = transmissions[i];
        SCOPED_TRACE("transmission " + std::to_string(i) + ": " + event.dump().substr(0, 400));
        EXPECT_EQ(event["kind"], c.transmissions[i].kind);
        EXPECT_EQ(event["number"], i + 1);
        const std::string hex = event["hex"];
        EXPECT_EQ(event["length"], hex.size() / 2);
        reported += hex;
        const std::vector<std::string> errors = event["errors"];
        if (c.transmissions[i].error.empty()) {
            EXPECT_TRUE(errors.empty());
        } else {
            ASSERT_FALSE(errors.empty());
            EXPECT_NE(errors.front().find(c.transmissions[i].error), std::string::npos);
        }
    }
    // Every byte written is reported, in order, in exactly one transmission.
    EXPECT_EQ(reported, Hex(written));

    const std::vector<Event> displays = Named(sim.Events(), "display");
    if (c.shown) {
        ASSERT_FALSE(displays.empty());
        EXPECT_EQ(displays.back()["text"], *c.shown);
    } else {
        EXPECT_TRUE(displays.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, SignSimStreamTest, testing::ValuesIn(kStreamCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(SignSimTest, DisplayEventCarriesTextColourAndMode)
{
    CScopedConfigHome home;
    CSignSimProcess sim;
    const std::string text = frames::Text("Tab\there \"quoted\" \xE9", 1, true);
    for (const std::string& delivery :
         {frames::MemoryConfig(static_cast<int>(text.size())), text, frames::RunSequence()})
        DeliverTo(sim.Device(), delivery);
    const std::optional<Event> display = sim.WaitForEvent("display");
    ASSERT_TRUE(display);
    // The encoder drops the tab; the rest comes back in UTF-8.
    EXPECT_EQ((*display)["text"], "Tabhere \"quoted\" é");
    EXPECT_EQ((*display)["color"], "Autocolor");
    EXPECT_EQ((*display)["color_code"], "C");
    EXPECT_EQ((*display)["mode"], "compressed rotate");
    EXPECT_EQ((*display)["mode_code"], "t");
}

// The brightest channel of any pixel: LEDs that are off stay far below half.
int Brightest(const QImage& picture)
{
    int brightest = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            brightest = std::max({brightest, qRed(pixel), qGreen(pixel), qBlue(pixel)});
        }
    return brightest;
}

TEST(SignSimTest, PictureAfterTextLitAndAfterClearDark)
{
    CScopedConfigHome home;
    const std::string path = home.Path() + "/sign.png";
    CSignSimProcess sim(std::nullopt, {"--picture", path});
    for (const std::string& delivery : frames::Update("Hello"))
        DeliverTo(sim.Device(), delivery);
    ASSERT_TRUE(sim.WaitForEvent("display"));   // written before the event
    const QImage lit(QString::fromStdString(path), "PNG");
    ASSERT_FALSE(lit.isNull());
    EXPECT_GE(lit.height(), 28);
    EXPECT_GT(Brightest(lit), 200);

    DeliverTo(sim.Device(), frames::Clear());
    ASSERT_TRUE(sim.WaitForEvent("display"));
    const QImage dark(QString::fromStdString(path), "PNG");
    ASSERT_FALSE(dark.isNull());
    EXPECT_LT(Brightest(dark), 100);
    EXPECT_EQ(sim.Stop(), 0);
}

// What the sign's faces need is checked before the sign is announced.
struct RefusalCase {
    const char* name;
    std::vector<std::string> args;
    int exitCode;
    std::string message;
    std::string display;  // DISPLAY
};

void PrintTo(const RefusalCase& c, std::ostream* os)
{
    *os << c.name;
}

class SignSimRefusalTest : public testing::TestWithParam<RefusalCase> {};

TEST_P(SignSimRefusalTest, SaysWhyAndEnds)
{
    const RefusalCase& c = GetParam();
    CScopedConfigHome home;
    std::vector<std::string> argv = {BuildDir() + "/tools/signsim/tickerlux-signsim"};
    for (std::string arg : c.args) {
        if (arg.starts_with("HOME/"))  // a path in the test's own folder
            arg.replace(0, 4, home.Path());
        argv.push_back(arg);
    }
    const ProgramResult result =
        RunProgram(argv, {{"DISPLAY", c.display}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}});
    EXPECT_EQ(result.exitCode, c.exitCode);
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "");
}

const RefusalCase kRefusalCases[] = {
    {"picture_in_a_missing_folder", {"--picture", "HOME/none/sign.png"}, 1,
     "cannot write the picture", ""},
    {"window_without_a_display", {"--window"}, 2, "--window needs a display", ""},
    {"window_on_a_display_nobody_serves", {"--window", "--com", "7"}, 2,
     "--window cannot open the display \":9797\"", ":9797"},
};

INSTANTIATE_TEST_SUITE_P(Cases, SignSimRefusalTest, testing::ValuesIn(kRefusalCases),
                         [](const auto& row) { return std::string(row.param.name); });

class SignSimPictureTargetTest : public testing::TestWithParam<NonRegularFile> {};

// Only a regular file or a new name becomes the picture; anything else is left as it was.
TEST_P(SignSimPictureTargetTest, RefusedAndLeftAlone)
{
    CScopedConfigHome home;
    const std::string path = home.Path() + "/sign.png";
    if (!MakeNonRegularFile(GetParam(), path))
        GTEST_SKIP() << "this process may not make device nodes";
    const std::string before = DescribeFile(path);
    const ProgramResult result =
        RunProgram({BuildDir() + "/tools/signsim/tickerlux-signsim", "--picture", path});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("cannot write the picture " + path + ": "), std::string::npos)
        << result.err;
    EXPECT_EQ(DescribeFile(path), before);
}

INSTANTIATE_TEST_SUITE_P(Kinds, SignSimPictureTargetTest,
                         testing::Values(NonRegularFile::Fifo, NonRegularFile::DeviceNode,
                                         NonRegularFile::LinkToDeviceNode, NonRegularFile::Directory,
                                         NonRegularFile::LinkLoop),
                         [](const testing::TestParamInfo<NonRegularFile>& row) {
                             return std::string(NonRegularFileName(row.param));
                         });

TEST(SignSimTest, CountEndsAfterThatManyTransmissions)
{
    CScopedConfigHome home;
    CSignSimProcess sim(std::nullopt, {"--count", "3"});
    for (const std::string& delivery : frames::Update("Hello"))
        DeliverTo(sim.Device(), delivery);
    EXPECT_EQ(sim.WaitForExit(), 0);
    EXPECT_EQ(Named(sim.Events(), "transmission").size(), 3u);
    EXPECT_EQ(sim.Events().front()["com"], nullptr);
}

TEST(SignSimTest, ManyOpenCloseCyclesAndExclusiveUseCleared)
{
    CScopedConfigHome home;
    CSignSimProcess sim;
    constexpr int kCycles = 40;
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        CDeviceWriter writer(sim.Device());
        writer.Write(frames::Clear());
        const std::optional<Event> event = sim.WaitForEvent("transmission");
        ASSERT_TRUE(event) << "cycle " << cycle;
        EXPECT_TRUE((*event)["errors"].empty()) << "cycle " << cycle;
        // The previous writer's exclusive use ended with its close; ordinary users could not
        // open the device again if the flag stayed.
        int exclusive = -1;
        ASSERT_EQ(ioctl(writer.Fd(), TIOCGEXCL, &exclusive), 0);
        EXPECT_EQ(exclusive, 0) << "cycle " << cycle;
        ASSERT_EQ(ioctl(writer.Fd(), TIOCEXCL), 0);
    }
    EXPECT_EQ(sim.Stop(), 0);
}

struct PortMapCase {
    const char* name;
    std::optional<std::string> earlier;
    int signal;
    int exitStatus;  // as CSignSimProcess reports it: -1 for killed
};

void PrintTo(const PortMapCase& c, std::ostream* os)
{
    *os << c.name;
}

class SignSimPortMapTest : public testing::TestWithParam<PortMapCase> {};

// Killed without a chance to clean up, the virtual sign's entry stays in the file but is no
// longer honoured: the next pseudo-terminal that gets its number must not receive deliveries.
TEST_P(SignSimPortMapTest, EntryWhileRunningEarlierOneBackAfterwards)
{
    const PortMapCase& c = GetParam();
    CScopedConfigHome home;
    if (c.earlier) {
        SetStoredPortEntry(4, c.earlier);
    }
    {
        CSignSimProcess sim(4);
        EXPECT_EQ(sim.Events().front()["com"], 4);
        EXPECT_EQ(StoredPortEntry(4), sim.Device());
        EXPECT_EQ(ResolvePort(LoadUserSettings().settings, 4), sim.Device());
        ASSERT_EQ(kill(sim.Pid(), c.signal), 0);
        EXPECT_EQ(sim.WaitForExit(), c.exitStatus);
    }
    EXPECT_EQ(StoredPortEntry(4), c.earlier);
    EXPECT_EQ(ResolvePort(LoadUserSettings().settings, 4), c.earlier.value_or("/dev/ttyS3"));
    // The next virtual sign on COM4 replaces the entry in force, not what a killed one left.
    {
        CSignSimProcess next(4);
        EXPECT_EQ(StoredPortEntry(4), next.Device());
        EXPECT_EQ(next.Stop(), 0);
    }
    EXPECT_EQ(StoredPortEntry(4), c.earlier);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SignSimPortMapTest,
    testing::Values(PortMapCase{"no_earlier_entry_sigterm", std::nullopt, SIGTERM, 0},
                    PortMapCase{"earlier_entry_sigterm", "/dev/ttyUSB7", SIGTERM, 0},
                    PortMapCase{"earlier_entry_sigint", "/dev/ttyUSB7", SIGINT, 0},
                    PortMapCase{"no_earlier_entry_sigkill", std::nullopt, SIGKILL, -1},
                    PortMapCase{"earlier_entry_sigkill", "/dev/ttyUSB7", SIGKILL, -1}),
    [](const auto& row) { return std::string(row.param.name); });

// A second virtual sign on a COM number in use refuses, and the first one's entry holds until it
// stops and puts the earlier one back.
TEST(SignSimPortMapTest, SecondSignOnTheSameComNumberRefuses)
{
    CScopedConfigHome home;
    CSignSimProcess first(4);
    const ProgramResult second =
        RunProgram({BuildDir() + "/tools/signsim/tickerlux-signsim", "--com", "4", "--json"});
    EXPECT_EQ(second.exitCode, 1);
    EXPECT_EQ(second.out, "");
    EXPECT_NE(second.err.find("COM4 is in use by another virtual sign"), std::string::npos)
        << second.err;
    EXPECT_EQ(StoredPortEntry(4), first.Device());
    EXPECT_EQ(first.Stop(), 0);
    EXPECT_EQ(StoredPortEntry(4), std::nullopt);
    // Nothing of it is left in the store.
    EXPECT_EQ(ReadFileBytes(home.StoreFile()).find("COM4"), std::string::npos);
}

struct LineCase {
    const char* name;
    speed_t speed;
    bool twoStopBits;
    long baud;
};

void PrintTo(const LineCase& c, std::ostream* os)
{
    *os << c.name;
}

class SignSimLineTest : public testing::TestWithParam<LineCase> {};

TEST_P(SignSimLineTest, ReportsTheDeviceSettingsAtTheEnd)
{
    const LineCase& c = GetParam();
    CScopedConfigHome home;
    CSignSimProcess sim;
    {
        CDeviceWriter writer(sim.Device(), c.speed, c.twoStopBits);
        writer.Write(frames::Clear());
    }
    const std::optional<Event> event = sim.WaitForEvent("transmission");
    ASSERT_TRUE(event);
    const Event& line = (*event)["line"];
    EXPECT_EQ(line["baud"], c.baud);
    EXPECT_EQ(line["stop_bits"], c.twoStopBits ? 2 : 1);
    // A pseudo-terminal forces 8 data bits and no parity: the simulator does not pretend.
    EXPECT_EQ(line["data_bits"], nullptr);
    EXPECT_EQ(line["parity"], nullptr);
}

INSTANTIATE_TEST_SUITE_P(Cases, SignSimLineTest,
                         testing::Values(LineCase{"b9600_one_stop_bit", B9600, false, 9600},
                                         LineCase{"b9600_two_stop_bits", B9600, true, 9600},
                                         LineCase{"b1200_two_stop_bits", B1200, true, 1200},
                                         LineCase{"b115200_one_stop_bit", B115200, false, 115200}),
                         [](const auto& row) { return std::string(row.param.name); });

} // namespace
