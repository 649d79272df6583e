#pragma once

#include "engine/JobRunner.h"

namespace tickerlux::engine {

class IUserInterface;

// The FindHeadlines job: reads the address (a bad one fails Step::Fetch as BadAddress), downloads
// the page as a feed may be long (headlines::kMaxFeedLength), and then each feed that it
// announces, and puts what it found into `outcome` (searched, candidates). Markers are looked
// for in the part of the page that an update reads. `ui` hears the download's progress; a stop
// asked through it abandons the search at once, finding nothing.
void FindHeadlines(const JobRequest& request, IUserInterface& ui, JobOutcome& outcome);

} // namespace tickerlux::engine
