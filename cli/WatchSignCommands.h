#pragma once

#include "cli/ConnectionOptions.h"
#include "mqtt/SignCommands.h"

namespace tickerlux::settings {
class CTickerluxDoc;
}
namespace tickerlux::engine {
class CTickerluxEngine;
class CommandOutcome;
}

namespace tickerlux::cli {

// The jobs of `watch` on its sign, for its own schedule and for the broker: each reads the
// stored connection afresh (so `tickerlux-cli config` takes effect at the next job) with the
// watch's --com and --connection over it, runs the engine's command, and keeps what the sign
// shows.
class CWatchSignCommands : public mqtt::ISignCommands {
public:
    CWatchSignCommands(settings::CTickerluxDoc& doc, engine::CTickerluxEngine& engine,
                       const ConnectionOptions& connection);

    mqtt::JobOutcome SendMessage(const std::string& line, std::optional<int> colorIndex,
                                            std::optional<bool> condensed) override;
    mqtt::JobOutcome UpdateNow() override;
    mqtt::JobOutcome Clear() override;
    mqtt::SignState State() const override;

private:
    // Loads the connection; false, said on standard error, when none is stored any more.
    bool Connect();
    // The outcome of the job named `job` ("update"; `done` its words on success), keeping what
    // the sign shows after it, `shown` (Windows-1252) when it was delivered. No `outcome`: no
    // connection was stored.
    mqtt::JobOutcome Finish(const char* job, const char* done,
                                       const engine::CommandOutcome* outcome, const std::string& shown);

    settings::CTickerluxDoc& m_doc;
    engine::CTickerluxEngine& m_engine;
    ConnectionOptions m_connection;
    mqtt::SignState m_state;
};

} // namespace tickerlux::cli
