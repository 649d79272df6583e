#pragma once

#include "engine/JobRunner.h"
#include "headlines/HeadlineCandidates.h"
#include "settings/FeedFields.h"

#include <string>

namespace tickerlux::cli {

// The FindHeadlines job run in place for `find` and `set URL=`: the page at `address` (UTF-8),
// or `feed`'s WebServer and WebPath when it is empty.
engine::JobOutcome SearchHeadlines(const std::string& address, const settings::FeedFieldValues& feed);

// Says on standard error why `found` gave no way to get headlines ("tickerlux-cli COMMAND: ..."):
// the download's failure and its cause, or that nothing was found, with each announced feed
// left out and why.
void PrintNothingFound(const char* command, const engine::JobOutcome& found);

// The `set` arguments that choose `candidate` (NAME=VALUE, escaped as `show` writes values),
// each quoted for a POSIX shell where it needs to be, separated by spaces.
std::string SetArguments(const headlines::HeadlineCandidate& candidate);

// `text` as one word for a POSIX shell: as it is when it holds only characters that no shell
// reads specially, else in single quotes.
std::string ShellWord(const std::string& text);

} // namespace tickerlux::cli
