#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

struct mosquitto;

// A client of a test's broker (libmosquitto): it publishes, and keeps every message that
// arrives on the topics it subscribed to, so a test can wait for one.
class CMqttTestClient {
public:
    struct Message {
        std::string topic;
        std::string payload;
        bool retained = false;
    };
    static constexpr std::chrono::seconds kDefaultTimeout{30};

    // Connects to 127.0.0.1:`port` and subscribes to `topics` (wildcards allowed); throws when
    // it cannot.
    CMqttTestClient(int port, const std::vector<std::string>& topics);
    ~CMqttTestClient();
    CMqttTestClient(const CMqttTestClient&) = delete;
    CMqttTestClient& operator=(const CMqttTestClient&) = delete;

    // Publishes at QoS 1 and waits until the broker has it.
    void Publish(const std::string& topic, const std::string& payload, bool retain = false);
    // The first message received so far or within `timeout` that `match` takes, from the
    // `from`-th on; false when none comes.
    bool WaitFor(const std::function<bool(const Message&)>& match, Message& found,
                 std::chrono::milliseconds timeout = kDefaultTimeout, std::size_t from = 0);
    std::size_t Count();

private:
    mosquitto* m_mosq = nullptr;
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::vector<Message> m_messages;
    int m_published = 0;
};
