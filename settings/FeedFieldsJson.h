#pragma once

#include "base/Failure.h"
#include "settings/FeedFields.h"

#include <nlohmann/json.hpp>

namespace tickerlux::settings {

// The feed fields as one JSON object for other front ends, named as the file names them: texts
// in UTF-8, integers as numbers, bools as booleans.
nlohmann::json FeedFieldsToJson(const FeedFieldValues& values);

// Takes the fields an object names; the others keep their values. A failure naming the first
// field that is unknown, of the wrong type (or out of its range), or a text that Windows-1252
// cannot hold, and then nothing has changed.
base::Failure FeedFieldsFromJson(const nlohmann::json& object, FeedFieldValues& values);

} // namespace tickerlux::settings
