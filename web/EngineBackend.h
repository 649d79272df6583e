#pragma once

#include "settings/UserSettings.h"
#include "web/SignBackend.h"

#include <memory>
#include <string>

namespace tickerlux::web {

// The backend over today's core: one CTickerluxDoc, a CTickerluxEngine per job on a worker
// thread of its own, and the per-user store. With FoundHeadlines, the only files of web/ that know
// those types.
// Opens the feed file at `path`: a missing file starts from a new document's defaults (saved
// there by Save), as `tickerlux-cli set` does. Nothing, with `problem` set to the message, when
// the file exists and cannot be read. `stored`: the per-user settings as the program read them
// at its start (communication settings, headline cleanup).
std::unique_ptr<ISignBackend> OpenEngineBackend(const std::string& path,
                                               const settings::UserSettings& stored,
                                               std::string& problem);

} // namespace tickerlux::web
