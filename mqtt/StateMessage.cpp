#include "mqtt/StateMessage.h"

#include <nlohmann/json.hpp>

#include <ctime>
#include <string_view>

namespace tickerlux::mqtt {

std::string Iso8601(std::chrono::system_clock::time_point time)
{
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[40];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S%z", &local);
    // strftime writes the offset as +0200; ISO 8601's extended form has +02:00.
    const std::string_view stamp(text);
    return std::string(stamp.substr(0, stamp.size() - 2)) + ":" +
           std::string(stamp.substr(stamp.size() - 2));
}

std::string StateMessage(const SignState& state, const std::optional<Notice>& notice)
{
    nlohmann::json json = {
        {"line", state.line},
        {"sent", state.sentAt ? nlohmann::json(Iso8601(*state.sentAt)) : nlohmann::json()},
        {"job", state.lastJob},
        {"feed", state.feedAddress},
    };
    if (notice) {
        json["notice"] = notice->text;
        json["notice_at"] = Iso8601(notice->at);
    }
    // Bytes that are not UTF-8 (a feed address is the file's bytes) are replaced, never thrown.
    return json.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

} // namespace tickerlux::mqtt
