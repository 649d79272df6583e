#pragma once

#include "base/Failure.h"
#include "settings/RegFile.h"
#include "settings/UserSettings.h"

#include <string>

// The per-user settings in the store file's registry-export format: the key and value names,
// the value types and the texts of the enums are spelled here and nowhere else.
namespace tickerlux::settings::usercodec {

// The settings held in `store`; a failure (StoreValueInvalid, naming `path`) when a stored value
// names none of its choices.
base::Failure Decode(const regfile::CRegFile& store, const std::string& path, UserSettings& out);

// Writes into `store` the values that differ between `before` (as decoded from it) and `after`.
void Encode(const UserSettings& before, const UserSettings& after, regfile::CRegFile& store);

} // namespace tickerlux::settings::usercodec
