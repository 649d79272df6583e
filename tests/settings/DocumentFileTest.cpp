#include "settings/DocFileMessages.h"
#include "settings/TickerluxDoc.h"
#include "tests/support/NonRegularFiles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tickerlux;
using namespace tickerlux::settings;
using namespace tickerlux::test;

using namespace std::string_literals;

namespace {

const std::string kNewDocumentFile =
    "\x04" "1.00" "\x00" "\x00" "\x00" "\x00\x00\x00\x00" "\x02" "60" "\x00" "\x00" "\x00"
    "\x09\x00\x00\x00" "\x00\x00\x00\x00" "\x00\x00\x00\x00" "\x00\x00\x00\x00"s;

struct CountingObserver : IDocumentObserver {
    void OnDocumentUpdate(IDocumentObserver*, long) override { ++updates; }
    int updates = 0;
};

// Every byte value, so no byte is lost or changed on the way through the file.
std::string AllBytes()
{
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += static_cast<char>(b);
    return bytes;
}

// A document whose every feed field differs from its default.
void FillFeedFields(CTickerluxDoc& doc)
{
    doc.WebServer = "news.example.org:8080";
    doc.WebPath = "/world/index.html";
    doc.ReservedText = AllBytes();
    doc.AutoUpdate = true;
    doc.UpdateMinutes = "15";
    doc.TextBefore = "<h2 class=\"title\">";
    doc.TextAfter = "</h2>";
    doc.LeadingComment = std::string(300, 'L');
    doc.ColorIndex = -1;
    doc.Condensed = true;
    doc.ReservedFlag = true;
    doc.ShowTime = true;
    doc.HeadlineSource = kHeadlinesFromFeedItems;
}

void SetCommunicationSettings(CTickerluxDoc& doc)
{
    doc.Comm.ChooseKind(settings::ConnectionKind::Usb);
}

void ExpectSameFeedFields(const CTickerluxDoc& a, const CTickerluxDoc& b)
{
    for (const FeedField& field : FeedFields())
        EXPECT_EQ(field.Format1252(a), field.Format1252(b)) << field.name;
}

void ExpectCommunicationSettingsKept(const CTickerluxDoc& doc)
{
    EXPECT_EQ(doc.Comm.Connection, settings::ConnectionKind::Usb);
    EXPECT_EQ(doc.Comm.ComPort + doc.Comm.BaudRate + doc.Comm.ByteSize, 0);
    EXPECT_EQ(doc.Comm.StopBits, settings::StopBits::Unset);
    EXPECT_EQ(doc.Comm.Parity, settings::Parity::Unset);
    EXPECT_EQ(doc.Comm.Protocol, "alpha");
}

std::string SavedBytes(CTickerluxDoc& doc, const CTempDir& dir)
{
    const std::string path = dir.File("saved.tlx");
    const base::Failure failure = doc.OnSaveDocument(path);
    EXPECT_FALSE(failure.Failed()) << DocFileMessage(failure);
    return ReadFileBytes(path);
}

TEST(DocumentFile, NewDocumentSavesThe34BytesOfTheFormat)
{
    CTempDir dir;
    CTickerluxDoc doc;
    doc.SourceText = "never saved";
    EXPECT_EQ(SavedBytes(doc, dir), kNewDocumentFile);
}

TEST(DocumentFile, EveryFeedFieldRoundTripsAndTheOpenResetsSourceTextAndRefreshes)
{
    CTempDir dir;
    CTickerluxDoc written;
    FillFeedFields(written);
    written.SetModifiedFlag();
    const std::string path = dir.File("feed.tlx");
    ASSERT_FALSE(written.OnSaveDocument(path).Failed());
    EXPECT_FALSE(written.IsModified());
    EXPECT_EQ(written.GetPathName(), path);
    EXPECT_EQ(written.GetTitle(), "feed.tlx");

    CTickerluxDoc read;
    SetCommunicationSettings(read);
    read.SourceText = "old page";
    read.SetModifiedFlag();
    CountingObserver view;
    read.AddObserver(&view);
    const base::Failure result = read.OnOpenDocument(path);
    ASSERT_FALSE(result.Failed()) << DocFileMessage(result);
    ExpectSameFeedFields(read, written);
    EXPECT_EQ(read.SourceText, "");
    EXPECT_EQ(view.updates, 1);
    EXPECT_FALSE(read.IsModified());
    EXPECT_EQ(read.GetPathName(), path);
    EXPECT_EQ(read.GetTitle(), "feed.tlx");
    ExpectCommunicationSettingsKept(read);

    // Values the program never uses (ReservedText, ReservedFlag) are written back unchanged.
    EXPECT_EQ(SavedBytes(read, dir), ReadFileBytes(path));
}

struct LoadCase {
    const char* name;
    std::string bytes;
};

void PrintTo(const LoadCase& c, std::ostream* os)
{
    *os << c.name;
}

// Files that load like a new document's, whatever their version text or trailing bytes.
class LoadsAsNewDocument : public testing::TestWithParam<LoadCase> {};

TEST_P(LoadsAsNewDocument, GivesTheDefaults)
{
    CTempDir dir;
    const std::string path = dir.File("feed.tlx");
    WriteFileBytes(path, GetParam().bytes);
    CTickerluxDoc doc;
    FillFeedFields(doc);
    const base::Failure result = doc.OnOpenDocument(path);
    ASSERT_FALSE(result.Failed()) << DocFileMessage(result);
    ExpectSameFeedFields(doc, CTickerluxDoc());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoadsAsNewDocument,
    testing::Values(LoadCase{"Version100", kNewDocumentFile},
                    LoadCase{"Version200", "\x04" "2.00"s + kNewDocumentFile.substr(5)},
                    LoadCase{"EmptyVersion", "\x00"s + kNewDocumentFile.substr(5)},
                    LoadCase{"LongVersion", "\xFF\x2C\x01"s + std::string(300, 'v') +
                                                kNewDocumentFile.substr(5)},
                    LoadCase{"TrailingBytesIgnored", kNewDocumentFile + "garbage\xFF\xFF\xFF"s},
                    LoadCase{"WideVersion",
                             "\xFF\xFE\xFF\x01" "1\0"s + kNewDocumentFile.substr(5)}),
    [](const auto& c) { return c.param.name; });

TEST(DocumentFile, ZeroByteFileOpensAndChangesNoFieldButTakesThePath)
{
    CTempDir dir;
    const std::string path = dir.File("empty.tlx");
    WriteFileBytes(path, "");
    CTickerluxDoc doc;
    FillFeedFields(doc);
    doc.SourceText = "page";
    doc.SetModifiedFlag();
    CountingObserver view;
    doc.AddObserver(&view);

    const base::Failure result = doc.OnOpenDocument(path);
    ASSERT_FALSE(result.Failed()) << DocFileMessage(result);
    CTickerluxDoc expected;
    FillFeedFields(expected);
    ExpectSameFeedFields(doc, expected);
    EXPECT_EQ(doc.SourceText, "page");
    EXPECT_EQ(view.updates, 0);
    EXPECT_EQ(doc.GetPathName(), path);
    EXPECT_EQ(doc.GetTitle(), "empty.tlx");
    EXPECT_FALSE(doc.IsModified());
}

// A file cut at any byte fails as an unexpected format and leaves a new document behind.
void ExpectFailedAsUnexpectedFormat(const std::string& bytes, const std::string& what)
{
    CTempDir dir;
    const std::string path = dir.File("cut.tlx");
    WriteFileBytes(path, bytes);
    CTickerluxDoc doc;
    FillFeedFields(doc);
    SetCommunicationSettings(doc);
    doc.SourceText = "page";
    doc.SetPathName("/feeds/old.tlx");
    doc.SetModifiedFlag();
    CountingObserver view;
    doc.AddObserver(&view);

    const base::Failure result = doc.OnOpenDocument(path);
    EXPECT_TRUE(result.Failed()) << what;
    EXPECT_EQ(result.kind, base::FailureKind::FileUnexpectedFormat) << what;
    ExpectSameFeedFields(doc, CTickerluxDoc());
    EXPECT_EQ(doc.SourceText, "") << what;
    EXPECT_EQ(doc.GetPathName(), "") << what;
    EXPECT_EQ(doc.GetTitle(), "Untitled") << what;
    EXPECT_FALSE(doc.IsModified()) << what;
    EXPECT_GE(view.updates, 1) << what;  // the views show the reset document
    ExpectCommunicationSettingsKept(doc);
}

TEST(DocumentFile, FileCutAtEveryBytePositionFailsAsUnexpectedFormat)
{
    CTickerluxDoc full;
    FillFeedFields(full);
    // A file cut inside the trailing field reads as one without it (see FeedFieldsTest).
    full.HeadlineSource = kHeadlinesFromMarkers;
    CTempDir dir;
    const std::string bytes = SavedBytes(full, dir);
    for (std::size_t cut = 1; cut < bytes.size(); ++cut) {
        ExpectFailedAsUnexpectedFormat(bytes.substr(0, cut), "cut at " + std::to_string(cut));
        if (testing::Test::HasFailure())
            break;
    }
}

class HostileFile : public testing::TestWithParam<LoadCase> {};

TEST_P(HostileFile, FailsAsUnexpectedFormat)
{
    ExpectFailedAsUnexpectedFormat(GetParam().bytes, GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HostileFile,
    testing::Values(
        LoadCase{"Length65534In40Bytes",
                 "\xFF\xFF\xFF\xFE\xFF\x00\x00"s + kNewDocumentFile.substr(0, 33)},
        LoadCase{"LengthAllOnes", "\x04" "1.00" "\xFF\xFF\xFF\xFF\xFF\xFF\xFF"s +
                                      kNewDocumentFile.substr(6)},
        LoadCase{"WideMarkerIn40Bytes", "\x04" "1.00" "\xFF\xFE\xFF\xFF\x00\x01"s +
                                            kNewDocumentFile.substr(5)},
        LoadCase{"TextLengthOnePastTheEnd", kNewDocumentFile.substr(0, 17) + "\x10"s +
                                                std::string(15, 'a')}),
    [](const auto& c) { return c.param.name; });

struct UnreadableCase {
    const char* name;
    void (*make)(const std::string& path);
    const char* reason;
};

void PrintTo(const UnreadableCase& c, std::ostream* os)
{
    *os << c.name;
}

class UnreadableFile : public testing::TestWithParam<UnreadableCase> {};

TEST_P(UnreadableFile, LeavesTheDocumentAsItWas)
{
    CTempDir dir;
    const std::string path = dir.File("feed.tlx");
    GetParam().make(path);
    CTickerluxDoc doc;
    FillFeedFields(doc);
    doc.SetPathName("/feeds/old.tlx");
    doc.SetModifiedFlag();
    CountingObserver view;
    doc.AddObserver(&view);

    const base::Failure result = doc.OnOpenDocument(path);
    EXPECT_TRUE(result.Failed());
    EXPECT_EQ(DocFileMessage(result), "Unable to read \"" + path + "\": " + GetParam().reason + ".");
    CTickerluxDoc expected;
    FillFeedFields(expected);
    ExpectSameFeedFields(doc, expected);
    EXPECT_EQ(doc.GetPathName(), "/feeds/old.tlx");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(view.updates, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnreadableFile,
    testing::Values(UnreadableCase{"Missing", [](const std::string&) {},
                                   "No such file or directory"},
                    UnreadableCase{"Directory",
                                   [](const std::string& path) {
                                       std::filesystem::create_directory(path);
                                   },
                                   "Is a directory"},
                    UnreadableCase{"EndlessDevice",
                                   [](const std::string& path) {
                                       std::filesystem::create_symlink("/dev/zero", path);
                                   },
                                   "Not a regular file (a pipe, a device or a socket)"}),
    [](const auto& c) { return c.param.name; });

// The save is cut off by the file size limit half way through writing: the old file stays whole.
TEST(DocumentFile, FailedWriteLeavesThePreviousFileWhole)
{
    CTempDir dir;
    const std::string path = dir.File("feed.tlx");
    WriteFileBytes(path, kNewDocumentFile);
    CTickerluxDoc doc;
    doc.LeadingComment = std::string(100000, 'x');
    doc.SetModifiedFlag();

    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit old = limit;
    limit.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    const base::Failure result = doc.OnSaveDocument(dir.File("feed.tlx"));
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &old), 0);

    EXPECT_TRUE(result.Failed());
    EXPECT_EQ(DocFileMessage(result), "Unable to save \"" + path + "\": File too large.");
    EXPECT_EQ(ReadFileBytes(path), kNewDocumentFile);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetPathName(), "");
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

class NonRegularFileTest : public testing::TestWithParam<NonRegularFile> {};

// Opening must not wait for a writer that never comes; saving must not turn the thing (or what a
// link names) into a regular file.
TEST_P(NonRegularFileTest, IsNeitherOpenedNorReplaced)
{
    CTempDir dir;
    const std::string path = dir.File("feed.tlx");
    if (!MakeNonRegularFile(GetParam(), path))
        GTEST_SKIP() << "this process may not make device nodes";
    const std::string before = DescribeFile(path);
    const std::string reason =
        GetParam() == NonRegularFile::Directory   ? "Is a directory."
        : GetParam() == NonRegularFile::LinkLoop ? "Too many levels of symbolic links."
                                              : "Not a regular file (a pipe, a device or a socket).";

    CTickerluxDoc doc;
    const base::Failure opened = doc.OnOpenDocument(path);
    EXPECT_TRUE(opened.Failed());
    EXPECT_EQ(DocFileMessage(opened), "Unable to read \"" + path + "\": " + reason);
    doc.SetModifiedFlag();
    const base::Failure saved = doc.OnSaveDocument(path);
    EXPECT_TRUE(saved.Failed());
    EXPECT_EQ(DocFileMessage(saved), "Unable to save \"" + path + "\": " + reason);
    EXPECT_EQ(DescribeFile(path), before);
    EXPECT_TRUE(doc.IsModified());
}

INSTANTIATE_TEST_SUITE_P(Kinds, NonRegularFileTest,
                         testing::Values(NonRegularFile::Fifo, NonRegularFile::DeviceNode,
                                         NonRegularFile::LinkToDeviceNode, NonRegularFile::Directory,
                                         NonRegularFile::LinkLoop),
                         [](const testing::TestParamInfo<NonRegularFile>& row) {
                             return std::string(NonRegularFileName(row.param));
                         });

TEST(DocumentFile, SaveIntoAMissingFolderFails)
{
    CTempDir dir;
    const std::string path = dir.File("no/such/feed.tlx");
    CTickerluxDoc doc;
    doc.SetModifiedFlag();
    const base::Failure result = doc.OnSaveDocument(path);
    EXPECT_TRUE(result.Failed());
    EXPECT_EQ(DocFileMessage(result), "Unable to save \"" + path + "\": No such file or directory.");
    EXPECT_TRUE(doc.IsModified());
}

// Root saving another user's file (through a link too) leaves it that user's.
TEST(DocumentFile, SaveKeepsTheOwnerAndPermissionsOfTheFileAndFollowsALink)
{
    CTempDir dir;
    const std::string path = dir.File("feed.tlx");
    WriteFileBytes(path, "old");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    const bool root = geteuid() == 0;
    if (root) {
        ASSERT_EQ(chown(path.c_str(), 4321, 4322), 0);
    }
    const std::string link = dir.File("link.tlx");
    std::filesystem::create_symlink("feed.tlx", link);

    CTickerluxDoc doc;
    ASSERT_FALSE(doc.OnSaveDocument(link).Failed());
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadFileBytes(path), kNewDocumentFile);
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(info.st_uid, root ? 4321u : geteuid());
    EXPECT_EQ(info.st_gid, root ? 4322u : getegid());
}

} // namespace
