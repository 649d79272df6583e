#pragma once

#include <nlohmann/json.hpp>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace tickerlux::test {

// Runs the virtual sign (BuildDir()/tools/signsim/tickerlux-signsim --json) for a test and reads
// its events. Create it inside the test's CScopedConfigHome: with a COM port, the simulator
// writes its port-map entry into that store, so the program under test reaches it as COMn.
//
//     CScopedConfigHome home;
//     CSignSimProcess sign(3);                      // waits for "ready"
//     ... deliver to COM3 ...
//     auto shown = sign.WaitFor([](const nlohmann::json& e) {
//         return e["event"] == "display" && e["text"] == "Hello";
//     });
//     ASSERT_TRUE(shown);
//     EXPECT_EQ(sign.Stop(), 0);                     // SIGTERM; port map restored
class CSignSimProcess {
public:
    using Event = nlohmann::json;
    static constexpr std::chrono::milliseconds kDefaultTimeout{30000};

    // Starts the simulator with --json, `--com comPort` when given, and `extraArgs` (for example
    // {"--count", "3"} or {"--line-speed"}), and waits for its "ready" event. Throws
    // std::runtime_error when it cannot start or is not ready within the default time-out.
    explicit CSignSimProcess(std::optional<int> comPort = std::nullopt,
                             std::vector<std::string> extraArgs = {});
    // Stops the simulator if it still runs.
    ~CSignSimProcess();
    CSignSimProcess(const CSignSimProcess&) = delete;
    CSignSimProcess& operator=(const CSignSimProcess&) = delete;

    // The pseudo-terminal the simulator reads (the "device" of its "ready" event).
    const std::string& Device() const { return m_device; }

    // Returns the next event not yet returned, waiting up to `timeout` for it; nullopt on time-out
    // or when the simulator has ended.
    std::optional<Event> Next(std::chrono::milliseconds timeout = kDefaultTimeout);
    // Skips events until one satisfies `match` and returns it; nullopt as Next().
    std::optional<Event> WaitFor(const std::function<bool(const Event&)>& match,
                                 std::chrono::milliseconds timeout = kDefaultTimeout);
    // The next event whose "event" member is `name` ("transmission", "display").
    std::optional<Event> WaitForEvent(const std::string& name,
                                      std::chrono::milliseconds timeout = kDefaultTimeout);

    // Every event read so far, "ready" included, in order.
    const std::vector<Event>& Events() const { return m_events; }

    // Asks the simulator to stop (SIGTERM), reads its last events and returns its exit status
    // (-1 when it had to be killed or ended by a signal).
    int Stop();
    // Stops the simulator reading (SIGSTOP), so that a delivery waits on a full line, or lets it
    // go on (SIGCONT): a sign whose pace the test sets.
    void Pause(bool paused) const;
    // Waits for the simulator to end by itself (--count) and returns its exit status as Stop().
    int WaitForExit(std::chrono::milliseconds timeout = kDefaultTimeout);

    pid_t Pid() const { return m_pid; }

private:
    // Reads output until a complete line is parsed or the deadline passes; false at the deadline
    // or at the end of the output.
    bool ReadMore(std::chrono::steady_clock::time_point deadline);
    int Reap(std::chrono::milliseconds timeout);

    pid_t m_pid = -1;
    int m_out = -1;
    bool m_ended = false;          // the output reached its end
    std::string m_partial;         // output after the last complete line
    std::vector<Event> m_events;
    std::size_t m_next = 0;        // index into m_events of the next event for Next()
    std::string m_device;
    int m_status = -1;
};

} // namespace tickerlux::test
