#pragma once

#include "engine/JobRunner.h"
#include "headlines/HeadlineCandidates.h"

#include <QString>

// How the window words what Find Headlines found, in the words the command line uses.
namespace tickerlux::app::foundtext {

// "the feed "Top stories" that the page announces: 12 headlines"; the settings below it name
// the feed's address.
QString Way(const headlines::HeadlineCandidate& candidate);

// The fields that choosing a way sets: "WebServer=host  WebPath=/feed  HeadlineSource=1".
QString Settings(const headlines::HeadlineCandidate& candidate);

// A left-out announced feed: "http://host/feed: why".
QString LeftOut(const headlines::HeadlineCandidate& candidate);

// Why a search gave no way at all: the download's failure, or nothing found and the feeds
// left out. Its first line suits the status bar.
QString NothingFound(const engine::JobOutcome& found);

// What an address alone chose, for the status bar.
QString Chose(const headlines::HeadlineCandidate& candidate);

} // namespace tickerlux::app::foundtext
