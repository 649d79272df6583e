#pragma once

#include "engine/JobRunner.h"

#include <QString>

// What the status bar says of a job: its stage while it runs, how it went when it ends.
namespace tickerlux::app::jobstatus {

// Why the window waits for the job to end, if it does.
enum class Waiting { No, Stop, Close };

// "Downloading page… 48 KB", "Sending to the sign… 37 %", "Clearing the sign…", and once a
// stop is asked, what the job still does: "Finishing the delivery…".
QString StageText(const engine::JobProgress& progress, Waiting waiting);

// Bytes done of the transmission in percent; -1 while the stage has no known end.
int Percent(const engine::JobProgress& progress);

// "Stopped", the first line of the first message, the sign that could not be reached, or the
// command's plain success.
QString OutcomeText(const engine::JobOutcome& outcome);

} // namespace tickerlux::app::jobstatus
