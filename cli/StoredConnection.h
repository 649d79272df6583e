#pragma once

#include "base/Failure.h"
#include "cli/ConnectionOptions.h"
#include "engine/Outcome.h"
#include "settings/UserSettings.h"

#include <functional>
#include <optional>
#include <string>

namespace tickerlux::settings {
class CTickerluxDoc;
} // namespace tickerlux::settings

namespace tickerlux::engine {
class CTickerluxEngine;
} // namespace tickerlux::engine

namespace tickerlux::cli {

// "cannot read PATH: reason" and the like, for a failure of the per-user store.
std::string StoreFailureText(const base::Failure& failure);
// "tickerlux-cli COMMAND: " and StoreFailureText, on standard error.
void ReportStoreFailure(const char* command, const base::Failure& failure);

// The per-user settings, read once for the command; nothing, with the reason on standard error,
// when the store cannot be read (a folder, a loop of links, a pipe, an unknown value): that is
// not the same as no settings stored.
std::optional<settings::UserSettings> LoadUserSettings(const char* command);

// Puts the stored communication settings into `doc` and applies `options` over them. Returns
// whether a connection is known, stored or given.
bool ApplyConnection(const settings::UserSettings& stored, settings::CTickerluxDoc& doc,
                     const ConnectionOptions& options);

// LoadUserSettings and ApplyConnection; when no connection is known, tells the user on standard
// error how to give or store one (prefixed with "tickerlux-cli COMMAND: ") and returns nothing.
std::optional<settings::UserSettings> LoadStoredConnection(settings::CTickerluxDoc& doc,
                                                           const char* command,
                                                           const ConnectionOptions& options);

// Hands the engine what the store says about its work: the headline cleanup switch and the
// port map.
void UseUserSettings(engine::CTickerluxEngine& engine, const settings::UserSettings& stored);

// A command on the sign as `send`, `clear` and `update` run it: LoadStoredConnection into `doc`,
// then `run` on an engine that tells the terminal, with the store's settings and `options`'
// wait. The exit code: kExitOk when every step succeeded.
int RunOnSign(settings::CTickerluxDoc& doc, const char* command, const ConnectionOptions& options,
              const std::function<engine::CommandOutcome(engine::CTickerluxEngine&)>& run);

} // namespace tickerlux::cli
