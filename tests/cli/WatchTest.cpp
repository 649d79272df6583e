#include "cli/Watch.h"

#include "cli/ExitCodes.h"
#include "settings/TickerluxDoc.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

using namespace tickerlux;
using namespace tickerlux::settings;
using namespace tickerlux::cli;
using namespace tickerlux::test;

namespace {

using std::chrono::minutes;
using std::chrono::seconds;
using TimePoint = cli::IWatchClock::TimePoint;

// A clock that jumps to each deadline at once; updates advance it by what they "cost".
class CFakeClock : public cli::IWatchClock {
public:
    TimePoint Now() override { return m_now; }
    bool WaitUntil(TimePoint deadline) override
    {
        EXPECT_FALSE(insideUpdate) << "waited while an update was running";
        if (stop)
            return false;
        if (deadline > m_now)
            m_now = deadline;
        return true;
    }
    bool StopRequested() override { return stop; }

    void Advance(TimePoint::duration d) { m_now += d; }
    long SecondsSinceStart() const
    {
        return static_cast<long>(std::chrono::duration_cast<seconds>(m_now - TimePoint()).count());
    }

    bool stop = false;
    bool insideUpdate = false;

private:
    TimePoint m_now{};
};

// Captures what a stream receives (a memory stream the test reads back).
class CCapture {
public:
    CCapture() : m_file(open_memstream(&m_buffer, &m_size)) {}
    ~CCapture()
    {
        std::fclose(m_file);
        std::free(m_buffer);
    }
    std::FILE* File() const { return m_file; }
    std::string Text()
    {
        std::fflush(m_file);
        return std::string(m_buffer, m_size);
    }

private:
    char* m_buffer = nullptr;
    std::size_t m_size = 0;
    std::FILE* m_file;
};

class WatchTest : public testing::Test {
protected:
    void SaveFeed(const std::string& webPath, const std::string& updateMinutes)
    {
        CTickerluxDoc feed;
        feed.WebServer = "127.0.0.1:9";
        feed.WebPath = webPath;
        feed.UpdateMinutes = updateMinutes;
        ASSERT_FALSE(feed.OnSaveDocument(m_feedPath).Failed());
    }

    // Runs the watch; `onUpdate(n)` is called inside the n-th update (from 1) and returns its
    // cost on the clock. The watch is stopped after `updates` updates.
    int Run(int updates, const std::function<seconds(int)>& onUpdate = {})
    {
        const auto update = [&] {
            EXPECT_FALSE(m_clock.insideUpdate) << "two updates at once";
            m_clock.insideUpdate = true;
            m_times.push_back(m_clock.SecondsSinceStart());
            m_paths.push_back(m_doc.WebPath);
            const int n = static_cast<int>(m_times.size());
            m_clock.Advance(onUpdate ? onUpdate(n) : seconds(5));
            if (n == updates)
                m_clock.stop = true;
            m_clock.insideUpdate = false;
            return n != 2;  // the second one fails, which must not stop the watch
        };
        return cli::RunWatch(m_feedPath, m_doc, m_clock, update, m_out.File(), m_err.File());
    }

    CTempDir m_dir;
    std::string m_feedPath = m_dir.File("feed.tlx");
    CTickerluxDoc m_doc;
    CFakeClock m_clock;
    CCapture m_out;
    CCapture m_err;
    std::vector<long> m_times;
    std::vector<std::string> m_paths;
};

TEST_F(WatchTest, UpdatesAtOnceAndThenEveryMinuteUntilStopped)
{
    SaveFeed("/news", "1");
    EXPECT_EQ(Run(4), cli::kExitOk);
    EXPECT_EQ(m_times, (std::vector<long>{0, 60, 120, 180}));
    EXPECT_NE(m_err.Text().find("update failed"), std::string::npos);
    EXPECT_NE(m_out.Text().find("watch stopped"), std::string::npos);
}

TEST_F(WatchTest, SlowUpdateSkipsMissedSlotsAndKeepsThePeriod)
{
    SaveFeed("/news", "1");
    Run(4, [](int n) { return n == 2 ? seconds(150) : seconds(59); });
    // The second update ends at 210 s: the slots at 120 and 180 are gone.
    EXPECT_EQ(m_times, (std::vector<long>{0, 60, 240, 300}));
}

TEST_F(WatchTest, ReloadsTheFeedBeforeEachUpdate)
{
    SaveFeed("/first", "1");
    Run(4, [&](int n) {
        if (n == 1)
            SaveFeed("/second", "2");
        if (n == 2)
            WriteFileBytes(m_feedPath, "not a settings file");
        return seconds(1);
    });
    // The edit applies from the next update, interval included; an unreadable file keeps the
    // settings last read.
    EXPECT_EQ(m_paths, (std::vector<std::string>{"/first", "/second", "/second", "/second"}));
    EXPECT_EQ(m_times, (std::vector<long>{0, 60, 180, 300}));
    EXPECT_NE(m_err.Text().find("keeping the settings last read"), std::string::npos);
}

TEST_F(WatchTest, UnreadableFeedAtStartIsAUsageError)
{
    WriteFileBytes(m_feedPath, "not a settings file");
    EXPECT_EQ(Run(1), cli::kExitUsage);
    EXPECT_TRUE(m_times.empty());
}

TEST_F(WatchTest, StopRequestedBeforeTheFirstUpdateRunsNone)
{
    SaveFeed("/news", "1");
    m_clock.stop = true;
    EXPECT_EQ(Run(1), cli::kExitOk);
    EXPECT_TRUE(m_times.empty());
}

struct SlotCase {
    const char* name;
    long previous;
    long period;
    long now;
    long expected;
};

void PrintTo(const SlotCase& c, std::ostream* os)
{
    *os << c.name;
}

class NextSlotTest : public testing::TestWithParam<SlotCase> {};

TEST_P(NextSlotTest, KeepsTheGrid)
{
    const SlotCase& c = GetParam();
    const TimePoint next =
        cli::NextSlot(TimePoint(seconds(c.previous)), seconds(c.period), TimePoint(seconds(c.now)));
    EXPECT_EQ(next, TimePoint(seconds(c.expected)));
}

INSTANTIATE_TEST_SUITE_P(
    Slots, NextSlotTest,
    testing::Values(SlotCase{"QuickUpdate", 0, 60, 5, 60},
                    SlotCase{"EndsExactlyAtNextSlot", 0, 60, 60, 60},
                    SlotCase{"OneSlotMissed", 0, 60, 61, 120},
                    SlotCase{"ManySlotsMissed", 0, 60, 1000, 1020},
                    SlotCase{"EndsExactlyOnALaterSlot", 0, 60, 180, 180}),
    [](const testing::TestParamInfo<SlotCase>& row) { return std::string(row.param.name); });

// The real clock: SIGTERM during an update ends the watch after it, without waiting for the
// next slot a minute later; SIGINT from another thread ends the wait that follows.
struct SignalCase {
    const char* name;
    int signal;
    bool fromOtherThread;
};

void PrintTo(const SignalCase& c, std::ostream* os)
{
    *os << c.name;
}

class WatchSignalTest : public testing::TestWithParam<SignalCase> {};

TEST_P(WatchSignalTest, SignalEndsTheWatchCleanly)
{
    const SignalCase& c = GetParam();
    CTempDir dir;
    const std::string feedPath = dir.File("feed.tlx");
    CTickerluxDoc feed;
    feed.UpdateMinutes = "1";
    ASSERT_FALSE(feed.OnSaveDocument(feedPath).Failed());

    CTickerluxDoc doc;
    CCapture out;
    CCapture err;
    int updates = 0;
    std::thread sender;
    int result = -1;
    {
        cli::CSignalWatchClock clock;
        const auto update = [&] {
            ++updates;
            if (c.fromOtherThread && updates == 1)
                sender = std::thread([&] { kill(getpid(), c.signal); });
            else
                std::raise(c.signal);
            return true;
        };
        result = cli::RunWatch(feedPath, doc, clock, update, out.File(), err.File());
        if (sender.joinable())
            sender.join();
    }
    EXPECT_EQ(result, cli::kExitOk);
    EXPECT_EQ(updates, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Signals, WatchSignalTest,
    testing::Values(SignalCase{"TermDuringUpdate", SIGTERM, false},
                    SignalCase{"IntWhileWaiting", SIGINT, true},
                    SignalCase{"HupDuringUpdate", SIGHUP, false}),
    [](const testing::TestParamInfo<SignalCase>& row) { return std::string(row.param.name); });

// After the first stop signal, whichever it was, the next SIGINT or SIGTERM ends the process at
// once; the handlers in place before the watch come back when it ends.
void IgnoreSignal(int) {}

TEST(WatchSignalHandlersTest, AfterOneStopSignalBothEndTheProcess)
{
    for (const int first : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(strsignal(first));
        struct sigaction before {};
        before.sa_handler = IgnoreSignal;
        sigemptyset(&before.sa_mask);
        ASSERT_EQ(sigaction(SIGINT, &before, nullptr), 0);
        ASSERT_EQ(sigaction(SIGTERM, &before, nullptr), 0);
        ASSERT_EQ(sigaction(SIGHUP, &before, nullptr), 0);
        {
            cli::CSignalWatchClock clock;
            std::raise(first);
            EXPECT_TRUE(clock.StopRequested());
            for (const int next : {SIGINT, SIGTERM, SIGHUP}) {
                struct sigaction now {};
                ASSERT_EQ(sigaction(next, nullptr, &now), 0);
                EXPECT_EQ(now.sa_handler, SIG_DFL) << "signal " << next;
            }
        }
        for (const int number : {SIGINT, SIGTERM, SIGHUP}) {
            struct sigaction restored {};
            ASSERT_EQ(sigaction(number, nullptr, &restored), 0);
            EXPECT_EQ(restored.sa_handler, IgnoreSignal) << "signal " << number;
        }
    }
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGHUP, SIG_DFL);
}

} // namespace
