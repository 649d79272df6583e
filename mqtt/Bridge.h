#pragma once

#include "mqtt/BridgeSettings.h"
#include "mqtt/CommandQueue.h"
#include "mqtt/SignCommands.h"
#include "mqtt/StateMessage.h"
#include "mqtt/Topics.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

struct mosquitto;
struct mosquitto_message;

namespace tickerlux::mqtt {

// Where the bridge's lines go: `report` for what went well, `problem` for what did not. Either
// may be called from the bridge's network thread; each call is one whole line.
struct BridgeLog {
    std::function<void(const std::string&)> report;
    std::function<void(const std::string&)> problem;
};

// One sign on an MQTT broker. A network thread of its own keeps the connection, coming back
// after RetryDelays when the broker is down or goes away, and on each connection subscribes to
// the sign's command topics and publishes its availability, its state and (when asked) the
// discovery configurations. Commands that arrive are read, checked and queued, and `wake` is
// called; the front end then calls RunWaiting on its own thread, which runs them one at a time
// through `sign`. Nothing ever ends the front end for the broker's sake.
class CBridge {
public:
    CBridge(BridgeSettings settings, ISignCommands& sign, std::function<void()> wake,
            BridgeLog log);
    // Stops, if Stop has not been called.
    ~CBridge();
    CBridge(const CBridge&) = delete;
    CBridge& operator=(const CBridge&) = delete;

    // Takes the sign's state and starts the network thread. Returns false, with the reason
    // logged, when the MQTT library cannot be set up with the settings (TLS without certificates).
    bool Start();
    // Runs the commands waiting, oldest first, publishing the state after each, until none
    // waits or `stopRequested` says the front end is stopping (the rest are left).
    void RunWaiting(const std::function<bool()>& stopRequested);
    // Publishes the sign's state afresh: call it after a job that did not come through the bridge.
    void SignChanged();
    // Publishes "offline", leaves the broker and ends the network thread.
    void Stop();

private:
    void NetworkLoop();
    // Drives one connection, from its start until it ends or the bridge stops; returns the
    // reason it ended.
    std::string DriveConnection(bool first);
    void OnConnect(int result);
    void OnMessage(const mosquitto_message& message);
    void OnSubscribed();
    void LinkDown(const std::string& reason);
    // Logs a refusal or a drop and tells it in the state.
    void Notify(const std::string& text);
    void PublishState();
    void Publish(const std::string& topic, const std::string& payload);
    JobOutcome Run(const Command& command);

    static void ConnectCallback(mosquitto*, void* self, int result);
    static void MessageCallback(mosquitto*, void* self, const mosquitto_message* message);
    static void SubscribeCallback(mosquitto*, void* self, int mid, int count, const int* granted);

    BridgeSettings m_settings;
    CTopics m_topics;
    ISignCommands& m_sign;
    std::function<void()> m_wake;
    BridgeLog m_log;
    mosquitto* m_mosq = nullptr;
    std::thread m_thread;

    std::mutex m_mutex;  // guards what follows, up to the network thread's own
    std::condition_variable m_retryWait;
    CCommandQueue m_queue;
    SignState m_state;
    std::optional<Notice> m_notice;
    bool m_connected = false;
    bool m_stopping = false;
    std::chrono::steady_clock::time_point m_goodbyeDeadline;

    // The network thread's own.
    enum class Link { Starting, Up, Down };
    Link m_link = Link::Starting;
    bool m_everUp = false;
    bool m_cameUp = false;      // this connection was accepted
    std::string m_refusedBy;    // the broker's reason for refusing this connection
    std::string m_announcement; // "MQTT: connected to ...", told when the subscriptions are in
};

} // namespace tickerlux::mqtt
