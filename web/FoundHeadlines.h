#pragma once

#include "engine/JobRunner.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

// What the page shows of a Find Headlines job: the ways it found and the words for its end, as
// the command line words them.
namespace tickerlux::web {

// Each candidate, in the job's order: {"what","address","source","before","after","count",
// "headlines","leftOut"}, texts in UTF-8.
nlohmann::json CandidatesJson(const std::vector<headlines::HeadlineCandidate>& candidates);

// The lines that end a search (UTF-8). `chosen`: an address alone was taken, and this is the way
// chosen, or nullptr when none was.
std::vector<std::string> FindMessages(const engine::JobOutcome& found, bool addressAlone,
                                      const headlines::HeadlineCandidate* chosen);

} // namespace tickerlux::web
