// One full "Update Sign Now" against a local 199,999-byte page with 1,000 headlines and the
// virtual sign on a pseudo-terminal (no line-speed limit): the median wall time of the whole
// command and of each of its stages. Two pages: today's plain HTML page (with headline cleanup
// off and on), and a UTF-8 feed whose headlines are full of entities, CDATA and characters
// outside Latin-1 (cleanup on; its first update, which builds ICU's transliterators, apart).
// Then "Update Source Only" with the feed-items source on feeds whose items carry whole articles:
// 100 of them, as a large news feed has, and 1,000, nearly the 4 MiB that a feed may have.
//
//     update_bench SIGNSIM [RUNS]
#include "engine/TickerluxEngine.h"
#include "headlines/FeedItems.h"
#include "engine/UserInterface.h"
#include "settings/UserSettings.h"
#include "settings/TickerluxDoc.h"
#include "tools/pageserver/PageServer.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace tickerlux;
using namespace tickerlux::base;
using namespace tickerlux::settings;
using namespace tickerlux::headlines;
using namespace tickerlux::link;
using namespace tickerlux::engine;
using namespace tickerlux::pageserver;

extern char** environ;

namespace {

constexpr std::size_t kPageSize = 199999;
constexpr int kHeadlines = 1000;
constexpr int kComPort = 1;

// Pads `page` with a comment to exactly kPageSize bytes, `end` last.
std::string PadToSize(std::string page, const std::string& end)
{
    page += "<!--";
    page += std::string(kPageSize - page.size() - end.size() - 3, '-');
    page += "-->";
    page += end;
    return page;
}

// Headlines between <h2> and </h2>, each after a paragraph of other text, padded to the size.
std::string MakePage()
{
    std::string page = "<html><body>\n";
    for (int i = 1; i <= kHeadlines; ++i) {
        char headline[64];
        std::snprintf(headline, sizeof headline, "<h2>News item %04d is here</h2>\n", i);
        page += "<p>" + std::string(140, 'x') + "</p>\n";
        page += headline;
    }
    return PadToSize(page, "</body></html>\n");
}

// An RSS feed in UTF-8: headlines between <item><title> and </title>, every other one in CDATA,
// each of six pieces from scripts and entities that all need work, then a description.
std::string MakeFeed()
{
    static const char* const kPieces[] = {
        "Москва", "Київ", "Αθήνα", "北京新闻", "東京の天気", "Zürich", "Łódź", "São Paulo",
        "&amp;", "&ldquo;quoted&rdquo;", "&#8211;", "&hellip;", "&euro;5", "&nbsp;",
        "&#x4E2D;&#x6587;", "Ελληνικά", "Україна", "résumé", "&lt;b&gt;", "“curly” – dash"};
    constexpr std::size_t kCount = sizeof kPieces / sizeof kPieces[0];
    constexpr std::size_t kItemSize = 198;
    std::string page = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<rss><channel>\n";
    for (std::size_t i = 0; i < kHeadlines; ++i) {
        std::string headline;
        for (std::size_t k = 0; k < 6; ++k)
            headline += std::string(kPieces[(i * 7 + k * 3) % kCount]) + ' ';
        if (i % 2 == 0)
            headline = "<![CDATA[" + headline + "]]>";
        std::string item = "<item><title>" + headline + "</title><description>";
        item += std::string(kItemSize - std::min(kItemSize, item.size() + 21), 'x');
        page += item + "</description></item>\n";
    }
    return PadToSize(page, "</channel></rss>\n");
}

// An RSS feed of `items` items, each a title of MakeFeed's pieces and an article of about 4 KB of
// HTML in its description, as news sites publish whole articles; 1,000 of them come just under
// the feed limit.
std::string MakeArticleFeed(int items)
{
    const std::string small = MakeFeed();
    const std::size_t itemSize = (kMaxFeedLength - 4096) / kHeadlines;
    std::string feed = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<rss><channel><title>Site</title>\n";
    std::size_t at = small.find("<item>");
    for (int i = 0; i < items; ++i) {
        const std::size_t end = small.find("<description>", at);
        std::string item = small.substr(at, end - at) + "<description><![CDATA[";
        while (item.size() < itemSize - 64)
            item += "<p>The council met on Tuesday &amp; agreed the plan &#8211; résumé.</p>";
        feed += item + "]]></description></item>\n";
        at = small.find("<item>", end);
    }
    return feed + "</channel></rss>\n";
}

// Message boxes and failures would spoil the figures: report them and give up.
class CBenchUi : public IUserInterface {
public:
    void MessageBox(const std::string& text) override { Fail(text); }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    void PumpMessages(int) override {}
    void DeliveryFailed(const Failure& failure) override { Fail(failure.Text()); }

private:
    [[noreturn]] static void Fail(const std::string& text)
    {
        std::fprintf(stderr, "update_bench: %s\n", text.c_str());
        std::exit(1);
    }
};

// The virtual sign as COMn, in this process's (private) per-user store.
class CVirtualSign {
public:
    explicit CVirtualSign(const std::string& program)
    {
        const std::string com = std::to_string(kComPort);
        char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>("--com"),
                        const_cast<char*>(com.c_str()), nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        const int rc = posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        if (rc != 0) {
            std::fprintf(stderr, "update_bench: cannot start %s\n", program.c_str());
            std::exit(1);
        }
        // It enters itself in the port map once its device is open.
        for (int i = 0; i < 1000 && !settings::LoadUserSettings().settings.Ports.EntryInForce(kComPort); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (!settings::LoadUserSettings().settings.Ports.EntryInForce(kComPort)) {
            std::fprintf(stderr, "update_bench: the virtual sign did not come up\n");
            std::exit(1);
        }
    }
    ~CVirtualSign()
    {
        kill(m_pid, SIGTERM);
        int status = 0;
        waitpid(m_pid, &status, 0);
    }

private:
    pid_t m_pid = -1;
};

double MedianMs(int runs, const std::function<void()>& stage)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        stage();
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        times.push_back(took.count());
    }
    std::sort(times.begin(), times.end());
    return runs % 2 ? times[runs / 2] : (times[runs / 2 - 1] + times[runs / 2]) / 2;
}

struct BenchCase {
    const char* title;
    std::string path;
    std::string page;
    std::string contentType;
    const char* before;
    const char* after;
    bool cleanup;
};

void Run(const BenchCase& c, CPageServer& server, int runs)
{
    server.Serve(c.path, CPageServer::Page(c.page, 200, c.contentType));
    CTickerluxDoc doc;
    doc.WebServer = server.HostPort();
    doc.WebPath = c.path;
    doc.TextBefore = c.before;
    doc.TextAfter = c.after;
    doc.LeadingComment = "Benchmark";
    doc.ShowTime = 1;
    doc.Comm.Connection = settings::ConnectionKindOf("serial port - custom settings");
    doc.Comm.ComPort = kComPort;
    doc.Comm.BaudRate = 9600;
    CBenchUi ui;
    CTickerluxEngine engine(doc, ui);
    engine.SetHeadlineCleanup(c.cleanup);
    engine.SetPortMap(LoadUserSettings().settings.Ports);

    const double first = MedianMs(1, [&] { engine.OnUpdateSignNow(); });
    const double whole = MedianMs(runs, [&] { engine.OnUpdateSignNow(); });
    const double download = MedianMs(runs, [&] { engine.FetchPage(); });
    const double fetchAndExtract = MedianMs(runs, [&] { engine.BuildSignLine(); });
    Transmission text;
    const std::string line = engine.SignLine();
    const double encoding = MedianMs(runs, [&] { text = engine.BuildTextTransmission(line); });
    const double memoryConfig = MedianMs(runs, [&] { engine.SendMemoryConfig(text.size()); });
    const double writeText =
        MedianMs(runs, [&] { engine.SendToSign(engine.GetSignPort(), text); });
    const double runSequence = MedianMs(runs, [&] { engine.SendRunSequence(); });

    std::printf("Update Sign Now, %s: %zu-byte page, %d headlines, sign line %zu bytes, "
                "write-text %zu bytes; median of %d runs\n",
                c.title, c.page.size(), kHeadlines, line.size(), text.size(), runs);
    std::printf("  %-36s %8.3f ms\n", "whole command", whole);
    std::printf("  %-36s %8.3f ms\n", "download (with conversion)", download);
    std::printf("  %-36s %8.3f ms\n", "extraction (line build - download)",
                std::max(0.0, fetchAndExtract - download));
    std::printf("  %-36s %8.3f ms\n", "encoding", encoding);
    std::printf("  %-36s %8.3f ms\n", "delivery: memory configuration", memoryConfig);
    std::printf("  %-36s %8.3f ms\n", "delivery: write text", writeText);
    std::printf("  %-36s %8.3f ms\n", "delivery: run sequence", runSequence);
    std::printf("  %-36s %8.3f ms\n", "first update of this case", first);
    std::printf("  goal: whole command under 50 ms: %s\n\n", whole < 50.0 ? "met" : "NOT met");
}

// "Update Source Only" with the feed-items source: download, the page as text for the source
// window, the feed read and its titles cleaned into the line.
void RunFeedItems(CPageServer& server, int items, int runs)
{
    const std::string feed = MakeArticleFeed(items);
    server.Serve("/articles", CPageServer::Page(feed, 200, "application/rss+xml"));
    CTickerluxDoc doc;
    doc.WebServer = server.HostPort();
    doc.WebPath = "/articles";
    doc.HeadlineSource = kHeadlinesFromFeedItems;
    doc.LeadingComment = "Benchmark";
    CBenchUi ui;
    CTickerluxEngine engine(doc, ui);
    const double whole = MedianMs(runs, [&] { engine.OnUpdateSourceOnly(); });
    const double download = MedianMs(runs, [&] { engine.FetchPage(); });
    std::printf("Update Source Only, feed items: %zu-byte feed, %d items, sign line %zu bytes; "
                "median of %d runs\n",
                feed.size(), items, engine.SignLine().size(), runs);
    std::printf("  %-36s %8.3f ms\n", "whole command", whole);
    std::printf("  %-36s %8.3f ms\n", "download (with conversion)", download);
    std::printf("  %-36s %8.3f ms\n", "feed read into the line", std::max(0.0, whole - download));
    std::printf("  goal: whole command under 50 ms: %s\n\n", whole < 50.0 ? "met" : "NOT met");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "Usage: update_bench SIGNSIM [RUNS]\n");
        return 2;
    }
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 30;

    char configHome[] = "/tmp/tickerlux-bench-XXXXXX";
    if (!mkdtemp(configHome))
        return 1;
    setenv("XDG_CONFIG_HOME", configHome, 1);
    setenv("no_proxy", "127.0.0.1,localhost", 1);
    {
        CPageServer server;
        CVirtualSign sign(argv[1]);
        const std::string html = "text/html; charset=windows-1252";
        const std::string rss = "application/rss+xml";  // the charset is in the XML declaration
        // The feed runs first, so that its first update pays for building ICU's transliterators.
        const BenchCase cases[] = {
            {"UTF-8 feed, cleanup on", "/feed", MakeFeed(), rss, "<item><title>", "</title>", true},
            {"today's page, cleanup off", "/news", MakePage(), html, "<h2>", "</h2>", false},
            {"today's page, cleanup on", "/news", MakePage(), html, "<h2>", "</h2>", true},
        };
        for (const BenchCase& c : cases)
            Run(c, server, runs);
        RunFeedItems(server, 100, runs);
        RunFeedItems(server, kHeadlines, runs);
    }
    std::filesystem::remove_all(configHome);
    return 0;
}
