#include "tests/support/MqttTestClient.h"

#include <mosquitto.h>

#include <stdexcept>

CMqttTestClient::CMqttTestClient(int port, const std::vector<std::string>& topics)
{
    mosquitto_lib_init();
    m_mosq = mosquitto_new(nullptr, true, this);
    mosquitto_message_callback_set(m_mosq, [](mosquitto*, void* self, const mosquitto_message* m) {
        auto* client = static_cast<CMqttTestClient*>(self);
        const std::lock_guard lock(client->m_mutex);
        client->m_messages.push_back({m->topic, std::string(static_cast<const char*>(m->payload),
                                                            static_cast<std::size_t>(m->payloadlen)),
                                      m->retain});
        client->m_arrived.notify_all();
    });
    mosquitto_publish_callback_set(m_mosq, [](mosquitto*, void* self, int) {
        auto* client = static_cast<CMqttTestClient*>(self);
        const std::lock_guard lock(client->m_mutex);
        ++client->m_published;
        client->m_arrived.notify_all();
    });
    if (mosquitto_connect(m_mosq, "127.0.0.1", port, 30) != MOSQ_ERR_SUCCESS)
        throw std::runtime_error("cannot connect to the test broker");
    for (const std::string& topic : topics)
        mosquitto_subscribe(m_mosq, nullptr, topic.c_str(), 1);
    mosquitto_loop_start(m_mosq);
}

CMqttTestClient::~CMqttTestClient()
{
    mosquitto_disconnect(m_mosq);
    mosquitto_loop_stop(m_mosq, false);
    mosquitto_destroy(m_mosq);
}

void CMqttTestClient::Publish(const std::string& topic, const std::string& payload, bool retain)
{
    std::unique_lock lock(m_mutex);
    const int before = m_published;
    lock.unlock();
    mosquitto_publish(m_mosq, nullptr, topic.c_str(), static_cast<int>(payload.size()),
                      payload.data(), 1, retain);
    lock.lock();
    m_arrived.wait_for(lock, kDefaultTimeout, [&] { return m_published > before; });
}

bool CMqttTestClient::WaitFor(const std::function<bool(const Message&)>& match, Message& found,
                              std::chrono::milliseconds timeout, std::size_t from)
{
    std::unique_lock lock(m_mutex);
    std::size_t next = from;
    return m_arrived.wait_for(lock, timeout, [&] {
        for (; next < m_messages.size(); ++next)
            if (match(m_messages[next])) {
                found = m_messages[next];
                return true;
            }
        return false;
    });
}

std::size_t CMqttTestClient::Count()
{
    const std::lock_guard lock(m_mutex);
    return m_messages.size();
}
