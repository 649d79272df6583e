#include "mqtt/Bridge.h"

#include "mqtt/Discovery.h"
#include "mqtt/Payload.h"

#include <mosquitto.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace tickerlux::mqtt {
namespace {

constexpr int kKeepAliveSeconds = 30;
// How long one turn of the network loop may wait, and so how soon it sees a stop.
constexpr int kLoopMilliseconds = 250;
// How long a stop waits for "offline" and the goodbye to reach the broker.
constexpr std::chrono::seconds kGoodbyeLimit{5};
constexpr const char* kSystemCertificates = "/etc/ssl/certs";
constexpr int kVerifyPeer = 1;  // OpenSSL's SSL_VERIFY_PEER

std::once_flag g_libraryReady;

std::string ReasonOf(int result, int savedErrno)
{
    if (result == MOSQ_ERR_ERRNO)
        return std::strerror(savedErrno);
    return mosquitto_strerror(result);
}

} // namespace

CBridge::CBridge(BridgeSettings settings, ISignCommands& sign, std::function<void()> wake,
                 BridgeLog log)
    : m_settings(std::move(settings)), m_topics(m_settings.signName), m_sign(sign),
      m_wake(std::move(wake)), m_log(std::move(log))
{
}

CBridge::~CBridge()
{
    Stop();
    if (m_mosq)
        mosquitto_destroy(m_mosq);
}

bool CBridge::Start()
{
    std::call_once(g_libraryReady, [] { mosquitto_lib_init(); });
    m_state = m_sign.State();
    m_mosq = mosquitto_new(nullptr, true, this);
    const BrokerUrl& broker = m_settings.broker;
    const std::string offline = "offline";
    int result = m_mosq ? MOSQ_ERR_SUCCESS : MOSQ_ERR_NOMEM;
    if (result == MOSQ_ERR_SUCCESS)
        result = mosquitto_threaded_set(m_mosq, true);
    if (result == MOSQ_ERR_SUCCESS && !broker.user.empty())
        result = mosquitto_username_pw_set(m_mosq, broker.user.c_str(),
                                           broker.password ? broker.password->c_str() : nullptr);
    if (result == MOSQ_ERR_SUCCESS && broker.tls)
        result = mosquitto_tls_set(m_mosq, nullptr, kSystemCertificates, nullptr, nullptr, nullptr);
    if (result == MOSQ_ERR_SUCCESS && broker.tls)
        result = mosquitto_tls_opts_set(m_mosq, kVerifyPeer, nullptr, nullptr);
    if (result == MOSQ_ERR_SUCCESS)
        result = mosquitto_will_set(m_mosq, m_topics.Availability().c_str(),
                                    static_cast<int>(offline.size()), offline.data(), 1, true);
    if (result != MOSQ_ERR_SUCCESS) {
        m_log.problem("MQTT: cannot set up the connection to " + broker.Display() + ": " +
                      ReasonOf(result, errno));
        return false;
    }
    mosquitto_connect_callback_set(m_mosq, ConnectCallback);
    mosquitto_message_callback_set(m_mosq, MessageCallback);
    mosquitto_subscribe_callback_set(m_mosq, SubscribeCallback);
    m_thread = std::thread([this] { NetworkLoop(); });
    return true;
}

void CBridge::Stop()
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_stopping)
            return;
        m_stopping = true;
        m_goodbyeDeadline = std::chrono::steady_clock::now() + kGoodbyeLimit;
        // Under the lock, so that a connection coming up now cannot say "online" after this.
        if (m_connected) {
            Publish(m_topics.Availability(), "offline");
            mosquitto_disconnect(m_mosq);
        }
    }
    m_retryWait.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void CBridge::NetworkLoop()
{
    std::chrono::milliseconds delay = m_settings.retry.first;
    for (bool first = true;; first = false) {
        const std::string reason = DriveConnection(first);
        std::unique_lock lock(m_mutex);
        m_connected = false;
        if (m_stopping)
            return;
        lock.unlock();
        LinkDown(reason);
        if (m_cameUp)
            delay = m_settings.retry.first;
        lock.lock();
        if (m_retryWait.wait_for(lock, delay, [this] { return m_stopping; }))
            return;
        delay = m_settings.retry.After(delay);
    }
}

std::string CBridge::DriveConnection(bool first)
{
    m_cameUp = false;
    m_refusedBy.clear();
    const BrokerUrl& broker = m_settings.broker;
    int result = first ? mosquitto_connect_async(m_mosq, broker.host.c_str(), broker.port,
                                                 kKeepAliveSeconds)
                       : mosquitto_reconnect_async(m_mosq);
    while (result == MOSQ_ERR_SUCCESS) {
        {
            const std::lock_guard lock(m_mutex);
            if (m_stopping &&
                (!m_connected || std::chrono::steady_clock::now() > m_goodbyeDeadline))
                break;
        }
        result = mosquitto_loop(m_mosq, kLoopMilliseconds, 1);
    }
    const int savedErrno = errno;
    if (!m_refusedBy.empty())
        return m_refusedBy;
    return ReasonOf(result, savedErrno);
}

void CBridge::LinkDown(const std::string& reason)
{
    const std::string broker = m_settings.broker.Display();
    if (m_link == Link::Up)
        m_log.problem("MQTT: lost the broker " + broker + " (" + reason +
                      "); trying again, the sign keeps its updates meanwhile");
    else if (m_link == Link::Starting)
        m_log.problem("MQTT: cannot reach the broker " + broker + " (" + reason +
                      "); trying again, the sign keeps its updates meanwhile");
    m_link = Link::Down;
}

void CBridge::ConnectCallback(mosquitto*, void* self, int result)
{
    static_cast<CBridge*>(self)->OnConnect(result);
}

void CBridge::MessageCallback(mosquitto*, void* self, const mosquitto_message* message)
{
    static_cast<CBridge*>(self)->OnMessage(*message);
}

void CBridge::SubscribeCallback(mosquitto*, void* self, int, int, const int*)
{
    static_cast<CBridge*>(self)->OnSubscribed();
}

void CBridge::OnSubscribed()
{
    if (!m_announcement.empty())
        m_log.report(m_announcement);
    m_announcement.clear();
}

void CBridge::OnConnect(int result)
{
    if (result != 0) {
        m_refusedBy = std::string("the broker refused the connection: ") +
                      mosquitto_connack_string(result);
        return;
    }
    const std::lock_guard lock(m_mutex);
    if (m_stopping)
        return;
    m_connected = true;
    m_cameUp = true;
    // Told once the broker takes the subscriptions, so a command sent on that word is heard.
    m_announcement = std::string("MQTT: ") + (m_everUp ? "reconnected" : "connected") + " to " +
                     m_settings.broker.Display() + " as sign '" + m_settings.signName + "'";
    m_link = Link::Up;
    m_everUp = true;

    const std::vector<std::string> topics = m_topics.Subscriptions();
    std::vector<char*> names;
    for (const std::string& topic : topics)
        names.push_back(const_cast<char*>(topic.c_str()));
    mosquitto_subscribe_multiple(m_mosq, nullptr, static_cast<int>(names.size()), names.data(), 1,
                                 0, nullptr);
    Publish(m_topics.Availability(), "online");
    if (m_settings.discovery)
        for (const auto& [topic, config] : DiscoveryMessages(m_settings))
            Publish(topic, config);
    Publish(m_topics.State(), StateMessage(m_state, m_notice));
}

void CBridge::OnMessage(const mosquitto_message& message)
{
    const std::string topic = message.topic ? message.topic : "";
    const std::optional<CommandKind> kind = m_topics.CommandOf(topic);
    if (!kind)
        return;
    // A retained command is an old one the broker kept: it ran when it was sent.
    if (message.retain) {
        m_log.problem("MQTT: ignored a retained command on " + topic +
                      " (publish commands without the retain flag)");
        return;
    }
    const std::string_view payload(static_cast<const char*>(message.payload),
                                   message.payload ? static_cast<std::size_t>(message.payloadlen)
                                                   : 0);
    ReadPayload read = ReadCommand(*kind, topic, payload);
    if (!read.command) {
        Notify("refused a " + std::string(Describe(*kind)) + " on " + topic + ": " +
               read.refusal);
        return;
    }
    std::optional<Command> dropped;
    {
        const std::lock_guard lock(m_mutex);
        dropped = m_queue.Push(std::move(*read.command));
    }
    if (dropped)
        Notify("dropped the oldest waiting command (a " + std::string(Describe(dropped->kind)) +
               " from " + dropped->topic + "): more than " +
               std::to_string(CCommandQueue::kMaxWaiting) + " were waiting");
    m_wake();
}

void CBridge::Notify(const std::string& text)
{
    m_log.problem("MQTT: " + text);
    {
        const std::lock_guard lock(m_mutex);
        m_notice = Notice{text, std::chrono::system_clock::now()};
    }
    PublishState();
}

void CBridge::RunWaiting(const std::function<bool()>& stopRequested)
{
    while (!stopRequested()) {
        std::optional<Command> command;
        {
            const std::lock_guard lock(m_mutex);
            command = m_queue.Pop();
        }
        if (!command)
            return;
        const JobOutcome outcome = Run(*command);
        const std::string line = "MQTT: " + std::string(Describe(command->kind)) + " from " +
                                 command->topic + ": " + outcome.words;
        (outcome.succeeded ? m_log.report : m_log.problem)(line);
        SignChanged();
    }
}

JobOutcome CBridge::Run(const Command& command)
{
    switch (command.kind) {
    case CommandKind::Message:
        return m_sign.SendMessage(command.line, command.colorIndex, command.condensed);
    case CommandKind::Update:
        return m_sign.UpdateNow();
    case CommandKind::Clear:
        return m_sign.Clear();
    }
    return {};
}

void CBridge::SignChanged()
{
    const SignState state = m_sign.State();
    {
        const std::lock_guard lock(m_mutex);
        m_state = state;
    }
    PublishState();
}

void CBridge::PublishState()
{
    std::string message;
    {
        const std::lock_guard lock(m_mutex);
        message = StateMessage(m_state, m_notice);
    }
    Publish(m_topics.State(), message);
}

void CBridge::Publish(const std::string& topic, const std::string& payload)
{
    // Retained, so that a client that comes later reads it; without a connection the next one
    // publishes it afresh.
    mosquitto_publish(m_mosq, nullptr, topic.c_str(), static_cast<int>(payload.size()),
                      payload.data(), 1, true);
}

} // namespace tickerlux::mqtt
