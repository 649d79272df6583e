// `set` and `show` through the real tickerlux-cli program.
#include "settings/TickerluxDoc.h"
#include "tests/support/RunProgram.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

using namespace tickerlux;
using namespace tickerlux::settings;
using namespace tickerlux::test;

using namespace std::string_literals;

namespace {

const std::string kNewDocumentFile =
    "\x04" "1.00" "\x00" "\x00" "\x00" "\x00\x00\x00\x00" "\x02" "60" "\x00" "\x00" "\x00"
    "\x09\x00\x00\x00" "\x00\x00\x00\x00" "\x00\x00\x00\x00" "\x00\x00\x00\x00"s;

ProgramResult Cli(std::vector<std::string> args)
{
    args.insert(args.begin(), BuildDir() + "/cli/tickerlux-cli");
    return RunProgram(args);
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST(CliSet, MissingFileGetsTheNewDocument)
{
    CTempDir dir;
    const ProgramResult run = Cli({"set", dir.File("f.tlx")});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out + run.err, "");
    EXPECT_EQ(ReadFileBytes(dir.File("f.tlx")), kNewDocumentFile);
}

struct SetCase {
    const char* name;
    std::string argument;
    std::string field;     // as `show` prints it after the change
    std::size_t lines = 12;
};

void PrintTo(const SetCase& c, std::ostream* os)
{
    *os << c.name;
}

class CliSetValue : public testing::TestWithParam<SetCase> {};

TEST_P(CliSetValue, IsStoredAndShown)
{
    CTempDir dir;
    const std::string path = dir.File("f.tlx");
    ASSERT_EQ(Cli({"set", path, "WebServer=example.org"}).exitCode, 0);
    const ProgramResult set = Cli({"set", path, GetParam().argument});
    ASSERT_EQ(set.exitCode, 0) << set.err;
    const ProgramResult show = Cli({"show", path});
    ASSERT_EQ(show.exitCode, 0) << show.err;
    const std::vector<std::string> lines = Lines(show.out);
    ASSERT_EQ(lines.size(), GetParam().lines);
    EXPECT_EQ(lines[0], "WebServer=example.org");  // earlier values stay
    EXPECT_NE(std::find(lines.begin(), lines.end(), GetParam().field), lines.end()) << show.out;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliSetValue,
    testing::Values(
        SetCase{"PlainText", "WebPath=/news/index.html", "WebPath=/news/index.html"},
        SetCase{"EqualsSignsInValue", "TextBefore=<a href=\"x\">", "TextBefore=<a href=\"x\">"},
        SetCase{"Utf8BecomesWindows1252AndBack", "LeadingComment=Caf\xC3\xA9 \xE2\x82\xAC 5",
                "LeadingComment=Caf\xC3\xA9 \xE2\x82\xAC 5"},
        SetCase{"NoWindows1252FormBecomesQuestionMark", "LeadingComment=\xE2\x98\x83!",
                "LeadingComment=?!"},
        SetCase{"Escapes", "TextAfter=a\\\\b\\n\\r\\t\\x00\\xe9\\x81",
                "TextAfter=a\\\\b\\n\\r\\t\\x00\xC3\xA9\\x81"},
        SetCase{"EmptyText", "UpdateMinutes=", "UpdateMinutes="},
        SetCase{"NegativeInteger", "ColorIndex=-1", "ColorIndex=-1"},
        SetCase{"ReservedFields", "ReservedFlag=1", "ReservedFlag=1"},
        SetCase{"HeadlineSourceShownAfterTheTwelve", "HeadlineSource=1", "HeadlineSource=1", 13},
        SetCase{"HeadlineSourceAtMarkersNotShown", "HeadlineSource=0", "ShowTime=0"}),
    [](const auto& c) { return c.param.name; });

TEST(CliShow, PrintsTheTwelveFieldsInFileOrder)
{
    CTempDir dir;
    const std::string path = dir.File("f.tlx");
    CTickerluxDoc doc;
    doc.WebServer = "news.example.org";
    doc.WebPath = "/";
    doc.ReservedText = "r\x01\x7F\xA0\xFF";
    doc.AutoUpdate = 1;
    doc.UpdateMinutes = "5";
    doc.TextBefore = "<b>";
    doc.TextAfter = "</b>";
    doc.LeadingComment = "News:\t\x93quoted\x94";
    doc.ColorIndex = 3;
    doc.Condensed = 1;
    doc.ReservedFlag = true;
    doc.ShowTime = 1;
    ASSERT_FALSE(doc.OnSaveDocument(path).Failed());

    const ProgramResult show = Cli({"show", path});
    EXPECT_EQ(show.exitCode, 0) << show.err;
    EXPECT_EQ(show.out, "WebServer=news.example.org\n"
                        "WebPath=/\n"
                        "ReservedText=r\\x01\\x7F\xC2\xA0\xC3\xBF\n"
                        "AutoUpdate=1\n"
                        "UpdateMinutes=5\n"
                        "TextBefore=<b>\n"
                        "TextAfter=</b>\n"
                        "LeadingComment=News:\\t\xE2\x80\x9Cquoted\xE2\x80\x9D\n"
                        "ColorIndex=3\n"
                        "Condensed=1\n"
                        "ReservedFlag=1\n"
                        "ShowTime=1\n");
}

// Every line of `show`, given back to `set`, rebuilds the same file: no byte is lost.
TEST(CliShow, OutputGivenToSetRebuildsTheFile)
{
    CTempDir dir;
    std::string allBytes;
    for (int b = 0; b < 256; ++b)
        allBytes += static_cast<char>(b);
    CTickerluxDoc doc;
    doc.ReservedText = allBytes;
    doc.LeadingComment = "\\x41 is not an escape here";
    doc.ColorIndex = 11;
    ASSERT_FALSE(doc.OnSaveDocument(dir.File("a.tlx")).Failed());

    const ProgramResult show = Cli({"show", dir.File("a.tlx")});
    ASSERT_EQ(show.exitCode, 0) << show.err;
    std::vector<std::string> args = {"set", dir.File("b.tlx")};
    for (const std::string& line : Lines(show.out))
        args.push_back(line);
    const ProgramResult set = Cli(args);
    ASSERT_EQ(set.exitCode, 0) << set.err;
    EXPECT_EQ(ReadFileBytes(dir.File("b.tlx")), ReadFileBytes(dir.File("a.tlx")));
}

struct UsageCase {
    const char* name;
    std::vector<std::string> args;  // after `set FILE`
    std::string message;            // expected in standard error
};

void PrintTo(const UsageCase& c, std::ostream* os)
{
    *os << c.name;
}

class CliSetUsageError : public testing::TestWithParam<UsageCase> {};

TEST_P(CliSetUsageError, ExitsWith2AndWritesNothing)
{
    CTempDir dir;
    const std::string existing = dir.File("old.tlx");
    WriteFileBytes(existing, kNewDocumentFile + "trailing");
    for (const std::string& path : {existing, dir.File("new.tlx")}) {
        std::vector<std::string> args = {"set", path, "WebServer=changed"};
        args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
        const ProgramResult run = Cli(args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
    }
    EXPECT_EQ(ReadFileBytes(existing), kNewDocumentFile + "trailing");
    EXPECT_FALSE(std::filesystem::exists(dir.File("new.tlx")));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliSetUsageError,
    testing::Values(
        UsageCase{"UnknownName", {"Colour=3"}, "unknown field 'Colour'"},
        UsageCase{"NameIsCaseSensitive", {"webserver=x"}, "unknown field 'webserver'"},
        UsageCase{"CommunicationSettingIsNoFileField", {"ComPort=2"}, "unknown field 'ComPort'"},
        UsageCase{"NoEqualsSign", {"WebPath"}, "expected NAME=VALUE"},
        UsageCase{"IntegerGivenText", {"ColorIndex=red"}, "ColorIndex takes a whole number"},
        UsageCase{"FlagGivenNothing", {"ShowTime="}, "ShowTime takes 0 or 1"},
        UsageCase{"IntegerWithTrailingText", {"ColorIndex=1x"}, "ColorIndex takes a whole number"},
        UsageCase{"IntegerOutOfRange", {"ColorIndex=2147483648"},
                  "ColorIndex takes a whole number"},
        UsageCase{"FlagGivenTwo", {"ShowTime=2"}, "ShowTime takes 0 or 1"},
        UsageCase{"HeadlineSourceGivenTwo", {"HeadlineSource=2"}, "HeadlineSource takes 0 or 1"},
        UsageCase{"UnknownEscape", {"WebPath=\\q"}, "unknown escape \\q"},
        UsageCase{"ShortHexEscape", {"WebPath=\\x4"}, "two hex digits"},
        UsageCase{"LoneBackslash", {"WebPath=a\\"}, "lone backslash"},
        UsageCase{"BadValueAfterAGoodOne", {"WebPath=/ok", "Condensed=yes"}, "Condensed"}),
    [](const auto& c) { return c.param.name; });

struct BadFileCase {
    const char* name;
    std::string bytes;   // written to the file, unless `directory`
    bool directory;
    std::string message;
};

void PrintTo(const BadFileCase& c, std::ostream* os)
{
    *os << c.name;
}

class CliBadFile : public testing::TestWithParam<BadFileCase> {};

TEST_P(CliBadFile, SetAndShowExitWith2AndChangeNothing)
{
    CTempDir dir;
    const std::string path = dir.File("bad.tlx");
    if (GetParam().directory)
        std::filesystem::create_directory(path);
    else
        WriteFileBytes(path, GetParam().bytes);
    const std::string message =
        GetParam().message.empty() ? "Unable to read \"" + path + "\": Is a directory."
                                   : GetParam().message;

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"show", path}, {"set", path, "WebServer=x"}, {"set", path}}) {
        const ProgramResult run = Cli(args);
        EXPECT_EQ(run.exitCode, 2) << args[0];
        EXPECT_EQ(run.err, message + "\n") << args[0];
        EXPECT_EQ(run.out, "") << args[0];
    }
    if (GetParam().directory)
        EXPECT_TRUE(std::filesystem::is_directory(path));
    else
        EXPECT_EQ(ReadFileBytes(path), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliBadFile,
    testing::Values(
        BadFileCase{"CutShort", kNewDocumentFile.substr(0, 33), false, "Unexpected file format."},
        BadFileCase{"HostileLength", "\xFF\xFF\xFF\xFF\xFF\xFF\xFF"s + std::string(33, 'a'), false,
                    "Unexpected file format."},
        BadFileCase{"Directory", "", true, ""}),
    [](const auto& c) { return c.param.name; });

TEST(CliShow, MissingFileIsAnErrorAndZeroByteFileShowsTheDefaults)
{
    CTempDir dir;
    const ProgramResult missing = Cli({"show", dir.File("none.tlx")});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(missing.err,
              "Unable to read \"" + dir.File("none.tlx") + "\": No such file or directory.\n");
    EXPECT_FALSE(std::filesystem::exists(dir.File("none.tlx")));

    WriteFileBytes(dir.File("empty.tlx"), "");
    const ProgramResult empty = Cli({"show", dir.File("empty.tlx")});
    EXPECT_EQ(empty.exitCode, 0) << empty.err;
    EXPECT_EQ(Lines(empty.out)[4], "UpdateMinutes=60");
    EXPECT_EQ(Lines(empty.out)[8], "ColorIndex=9");
}

} // namespace

namespace {

// Commands whose last one quotes hostile text in its message; "DIR/" is the test's folder.
struct MessageCase {
    const char* name;
    std::vector<std::vector<std::string>> commands;
    std::string quoted;  // how the message quotes it
};

void PrintTo(const MessageCase& c, std::ostream* os)
{
    *os << c.name;
}

class MessageEscapeTest : public testing::TestWithParam<MessageCase> {};

// Control bytes reach the terminal as escapes in every message, letters as they are.
TEST_P(MessageEscapeTest, ControlBytesAreEscaped)
{
    CTempDir dir;
    CScopedConfigHome home;
    ProgramResult run;
    for (std::vector<std::string> args : GetParam().commands) {
        for (std::string& arg : args) {
            if (const auto at = arg.find("DIR/"); at != std::string::npos)
                arg.replace(at, 3, dir.Path());
        }
        run = Cli(args);
    }
    EXPECT_NE(run.err.find(GetParam().quoted), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find_first_of("\x1B\x07\r"), std::string::npos) << run.err;
}

const std::string kHostile = "\x1B]0;x\x07\x1B[2J\r\xC2\x9B" "é";
const std::string kEscaped = "\\x1B]0;x\\x07\\x1B[2J\\r\\xC2\\x9Bé";

INSTANTIATE_TEST_SUITE_P(
    Cases, MessageEscapeTest,
    testing::Values(
        MessageCase{"StoredWebServerInTheCause",
                    {{"set", "DIR/f.tlx", "WebServer=a" + kHostile + ":1"}, {"line", "DIR/f.tlx"}},
                    // stored in Windows-1252, which lacks the C1 control
                    "not a host or host:port: a\\x1B]0;x\\x07\\x1B[2J\\r?é:1)"},
        MessageCase{"UnknownCommand", {{"x" + kHostile}}, "unknown command 'x" + kEscaped + "'"},
        MessageCase{"UnknownField", {{"set", "DIR/f.tlx", "B" + kHostile + "=1"}},
                    "unknown field 'B" + kEscaped + "'"},
        MessageCase{"FeedPath", {{"line", "DIR/n" + kHostile + ".tlx"}},
                    "/n" + kEscaped + ".tlx\": No such file"}),
    [](const testing::TestParamInfo<MessageCase>& row) { return std::string(row.param.name); });

} // namespace
