#pragma once

#include "cli/WatchClock.h"

#include <cstdio>
#include <functional>
#include <string>

namespace tickerlux::settings {
class CTickerluxDoc;
} // namespace tickerlux::settings

namespace tickerlux::cli {

// The slot of the update after the one scheduled at `previous`: previous + period, moved on by
// whole periods past any slot that `now` has already passed, so the updates keep their period
// however long one of them takes.
IWatchClock::TimePoint NextSlot(IWatchClock::TimePoint previous,
                                IWatchClock::TimePoint::duration period,
                                IWatchClock::TimePoint now);

// `tickerlux-cli watch`: loads the feed at `feedPath` into `doc` (exit 2 with the reason on `err`
// when it cannot), then runs `update` at once and again at every slot of the feed's interval
// (UpdateMinutes, read as the form's auto-update timer reads it) until the clock reports a stop
// request; then returns 0. Before each later update the feed file is read again; when it has
// become unreadable the reason is printed with a time stamp and the last good settings stay.
// `update` runs one "Update Sign Now" on `doc` and returns whether it succeeded; updates run one
// after the other, never two at once. Results go to `out`, failures to `err`, each line stamped.
// Each time the clock's wait ends before its deadline (something woke it, such as a command from
// the broker), `between` runs, on this thread and so never during an update, and the wait goes
// on to the same slot.
int RunWatch(const std::string& feedPath, settings::CTickerluxDoc& doc, IWatchClock& clock,
             const std::function<bool()>& update, std::FILE* out, std::FILE* err,
             const std::function<void()>& between = {});

} // namespace tickerlux::cli
